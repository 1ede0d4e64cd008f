#ifndef FINDALL_H
#define FINDALL_H

#include "SearchQuery.h"

#include <QObject>
#include <QVector>

class ChapterPanel;
class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QMainWindow;
class QTextEdit;
class SearchHighlighter;
class SearchPanel;
class SearchResultModel;
class ShownText;
class TextDisplay;
class TextSearch;
struct SearchHit;

// Finding every match at once: the find box's text, searched over the whole
// shown text off the GUI thread, listed in a panel beside the view as the
// matches are found, marked in the view, and stepped through from the list
// or with the find keys. A new search, a new text or closing the panel ends
// the one running.
class FindAll : public QObject
{
    Q_OBJECT

public:
    // window: the parent, where the panel docks; display and view outlive it.
    FindAll(QMainWindow *window, TextDisplay *display, QTextEdit *view);

    // The find box (Enter searches), the button that searches and the two
    // options beside it.
    void setControls(QLineEdit *box, QAbstractButton *search, QCheckBox *matchCase,
                     QCheckBox *regex);
    // The panel is a tab of the chapter list's dock, its rows name the
    // chapters the list has.
    void attachTo(ChapterPanel *chapters);
    SearchPanel *panel() const { return m_panel; }

    // Selects the next or previous listed match from the view's cursor; false
    // when there is no list to step through.
    bool step(bool forward);

public slots:
    void search();
    void close();

private:
    void connectText();
    SearchQuery preparedQuery() const;
    void showFound(const QVector<SearchHit> &hits);
    void showStatus();
    void jumpToRow(int row);
    void dropResults();

    QMainWindow *m_window;      // the owner
    TextDisplay *m_display;     // not owned
    QTextEdit *m_view;          // the reading view, not owned
    QLineEdit *m_box = nullptr; // the find box, not owned
    QCheckBox *m_matchCase = nullptr;
    QCheckBox *m_regex = nullptr;
    // Children of this object, but the panel, which is the window's.
    ShownText *m_text; // the display's
    TextSearch *m_search;
    SearchResultModel *m_model;
    SearchHighlighter *m_highlighter;
    SearchPanel *m_panel;
};

#endif // FINDALL_H
