#ifndef TEXTCLEANUP_H
#define TEXTCLEANUP_H

#include "OpenRequest.h"
#include "RuleCleaner.h"
#include "TransformOptions.h"

#include <QObject>
#include <QSet>

class CleaningRuleStore;
class ReadingState;
class ScriptPanel;
class TextCleanupPanel;
class TextDisplay;
class QWidget;

// The text as the reader wants it: which cleaning rules and whether tidied
// paragraphs apply to each book and the script it is shown in, the 显示
// page's controls and the rule dialog for them, and the book on screen read again, at the same
// words, when they change. A rule that fails on a text is switched off, and the reader is told
// once.
class TextCleanup : public QObject
{
    Q_OBJECT

public:
    // window: the parent, and of the dialogs; state: where books' choices
    // are kept, not owned.
    TextCleanup(QWidget *window, TextDisplay *display, ReadingState *state);

    CleaningRuleStore *store() const { return m_store; }
    TextCleanupPanel *panel() const { return m_panel; }
    ScriptPanel *scriptPanel() const { return m_scriptPanel; }
    // Loads the rules; before the first file opens.
    void load();
    TransformOptions optionsFor(const QString &fileName) const;

signals:
    // The book on screen, to be read again as it is to be shown now.
    void openRequested(const OpenRequest &request);

private:
    void showChoices();
    void tidyBook(bool on);
    void tidyByDefault(bool on);
    void editRules();
    void scriptBook(Script script);
    void scriptByDefault(Script script);
    void scriptFailed(const QString &error);
    void preload(const QVector<Script> &scripts);
    void rulesFailed(const QVector<RuleCleaner::Failure> &failures);
    void readAgain();
    void saveState();

    QWidget *m_window;          // the owner
    TextDisplay *m_textDisplay; // not owned
    ReadingState *m_state;      // not owned
    CleaningRuleStore *m_store; // child
    TextCleanupPanel *m_panel;  // a child of the 显示 page, once placed
    ScriptPanel *m_scriptPanel; // likewise
    QSet<QString> m_toldScriptErrors;
    bool m_everyScriptLoaded = false;
};

#endif // TEXTCLEANUP_H
