#ifndef COMFORTPANEL_H
#define COMFORTPANEL_H

#include "ComfortSettings.h"

#include <QWidget>

class QPushButton;
class QSpinBox;

// The row of the 显示 page that sets how the text is spaced and placed, and
// the button that shows the text alone, full screen.
class ComfortPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ComfortPanel(QWidget *parent = nullptr);

    // Shows the values without announcing a change.
    void setComfort(const ComfortSettings &comfort);
    ComfortSettings comfort() const;
    QPushButton *fullScreenButton() const { return m_btnFullScreen; }

signals:
    // Once per confirmed value: an arrow step, or a typed number on Enter
    // or on leaving the box.
    void comfortChanged(const ComfortSettings &comfort);

private:
    QSpinBox *addSpinBox(const char *name, const QString &label, int minimum, int maximum,
                         int step);
    void valueChanged();

    QSpinBox *m_sbLineSpacing;
    QSpinBox *m_sbParagraphSpacing;
    QSpinBox *m_sbSideMargin;
    QSpinBox *m_sbTextWidth;
    QPushButton *m_btnFullScreen;
    bool m_showing = false; // setComfort is filling the boxes
};

#endif // COMFORTPANEL_H
