#ifndef READINGPROGRESS_H
#define READINGPROGRESS_H

#include <QObject>
#include <QString>

class ChapterPanel;
class QLabel;
class QTextEdit;
class QTimer;
class TextDisplay;

// How far the reading has come, as "第 12/3400 章 · 37%", kept up to date as
// the view moves, the text arrives and the chapters are found, and shown in
// the labels given to it.
class ReadingProgress : public QObject
{
    Q_OBJECT

public:
    ReadingProgress(QObject *parent, TextDisplay *display, ChapterPanel *chapters, QTextEdit *text);

    // Every label shows the progress from now on; not owned.
    void addLabel(QLabel *label);
    QString text() const { return m_text; }
    // Of the text above the top of the view; what the shelf keeps.
    int permille() const { return m_permille; }

    // The top of the view as a share of the whole text, which may still be
    // arriving (loaded: the percentage of the file that is in the view).
    static int permilleOf(int top, int shownLength, int loaded);

signals:
    void changed(const QString &text);

private:
    void schedule();
    void update();

    TextDisplay *m_display;   // not owned
    ChapterPanel *m_chapters; // not owned
    QTextEdit *m_textWidget;  // not owned
    QTimer *m_timer;          // child: a scroll moves the view many times a second
    QList<QLabel *> m_labels;
    QString m_text;
    int m_permille = 0;
    int m_loaded = 100;
};

#endif // READINGPROGRESS_H
