#include "FindAll.h"

#include "ChapterModel.h"
#include "ChapterPanel.h"
#include "SearchHighlighter.h"
#include "SearchPanel.h"
#include "SearchResultModel.h"
#include "ShownText.h"
#include "TextDisplay.h"
#include "TextSearch.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTextEdit>

FindAll::FindAll(QMainWindow *window, TextDisplay *display, QTextEdit *view)
    : QObject(window), m_window(window), m_display(display), m_view(view),
      m_text(display->shownText()), m_search(new TextSearch(m_text, this)),
      m_model(new SearchResultModel(this)),
      m_highlighter(new SearchHighlighter(view, m_model, this)),
      m_panel(new SearchPanel(m_model, window))
{
    connectText();
    connect(m_search, &TextSearch::found, this, &FindAll::showFound);
    connect(m_search, &TextSearch::finished, this, &FindAll::showStatus);
    connect(m_panel, &SearchPanel::rowChosen, this, &FindAll::jumpToRow);
    connect(m_panel, &SearchPanel::closed, this, &FindAll::close);
}

// The list of a text that leaves must not stay over the next one.
void FindAll::connectText()
{
    connect(m_text, &ShownText::begun, this, [this] {
        dropResults();
        m_panel->showStatus(QString());
    });
}

void FindAll::setControls(QLineEdit *box, QAbstractButton *search, QCheckBox *matchCase,
                          QCheckBox *regex)
{
    m_box = box;
    m_matchCase = matchCase;
    m_regex = regex;
    connect(box, &QLineEdit::returnPressed, this, &FindAll::search);
    connect(search, &QAbstractButton::clicked, this, &FindAll::search);
}

void FindAll::attachTo(ChapterPanel *chapters)
{
    const ChapterModel *list = chapters->model();
    m_model->setChapterTitles(
        [this, list](int position) { return list->titleAt(m_display->toFilePosition(position)); });
    connect(list, &ChapterModel::modelReset, m_model, &SearchResultModel::chaptersChanged);
    m_panel->dockBeside(m_window, chapters);
}

// The one place the typed words become what is looked for, so that a view
// shown in another script can be searched in its own.
SearchQuery FindAll::preparedQuery() const
{
    SearchQuery query;
    query.matchCase = m_matchCase->isChecked();
    query.regex = m_regex->isChecked();
    // A word typed in either script finds what the view shows for it. An
    // expression is left as typed: converting it could turn a class of
    // characters into a phrase of another length.
    query.text = query.regex ? m_box->text() : m_display->toShownScript(m_box->text());
    return query;
}

void FindAll::search()
{
    const SearchQuery query = preparedQuery();
    if (query.text.isEmpty())
        return;
    dropResults();
    m_panel->show();
    m_panel->raise();
    m_highlighter->setEnabled(true);
    if (m_search->start(query)) {
        showStatus();
        return;
    }
    m_panel->showStatus(QCoreApplication::translate("QObject", "正则表达式有误：%1（第 %2 个字符）")
                            .arg(m_search->matcher().errorString())
                            .arg(m_search->matcher().errorOffset() + 1));
}

void FindAll::close()
{
    dropResults();
    m_panel->hide();
}

void FindAll::dropResults()
{
    m_search->cancel();
    m_model->clear();
    m_highlighter->setEnabled(false);
}

void FindAll::showFound(const QVector<SearchHit> &hits)
{
    m_model->append(hits);
    showStatus();
}

void FindAll::showStatus()
{
    const int count = m_search->count();
    QString text;
    if (m_search->limitHit())
        text = QCoreApplication::translate("QObject", "表达式过于复杂，已停止查找；已找到 %1 处")
                   .arg(count);
    else if (m_search->isRunning())
        text = QCoreApplication::translate("QObject", "正在查找…已找到 %1 处").arg(count);
    else if (count == 0)
        text = QCoreApplication::translate("QObject", "未找到");
    else
        text = QCoreApplication::translate("QObject", "共 %1 处").arg(count);
    if (m_search->listedCount() < count)
        text +=
            QCoreApplication::translate("QObject", "，仅显示前 %1 处").arg(m_search->listedCount());
    m_panel->showStatus(text);
}

// Where a find puts a match: selected, its line a third of the way down.
void FindAll::jumpToRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const SearchHit &hit = m_model->hit(row);
    m_display->showPosition(m_display->toFilePosition(hit.position), 1.0 / 3);
    QTextCursor match(m_view->document());
    match.setPosition(hit.position);
    match.setPosition(hit.position + hit.length, QTextCursor::KeepAnchor);
    m_view->setTextCursor(match);
    m_panel->setCurrentRow(row);
}

// No wrapping round, as find next and previous do not.
bool FindAll::step(bool forward)
{
    if (m_model->rowCount() == 0 || m_panel->isHidden())
        return false;
    const int from = m_view->textCursor().selectionStart();
    const int row = forward ? m_model->firstRowFrom(from + 1) : m_model->firstRowFrom(from) - 1;
    jumpToRow(row);
    return true;
}
