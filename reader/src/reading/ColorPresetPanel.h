#ifndef COLORPRESETPANEL_H
#define COLORPRESETPANEL_H

#include <QColor>
#include <QWidget>

// The row of the 显示 page that puts a day, a night or a sepia look on the
// text in one click, where the colour dialogs take two each.
class ColorPresetPanel : public QWidget
{
    Q_OBJECT

public:
    struct Preset {
        QString name;
        QColor text;
        QColor back;
    };

    explicit ColorPresetPanel(QWidget *parent = nullptr);

    static QList<Preset> presets();

signals:
    void presetChosen(const QColor &text, const QColor &back);
};

#endif // COLORPRESETPANEL_H
