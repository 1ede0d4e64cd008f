#include "TextCleanup.h"

#include "BookViewOptions.h"
#include "CleaningRuleStore.h"
#include "CleaningRulesDialog.h"
#include "ProgramConstants.h"
#include "ReadingState.h"
#include "ScriptChoice.h"
#include "ScriptPanel.h"
#include "TextCleanupPanel.h"
#include "TextDisplay.h"

#include <QCoreApplication>
#include <QMessageBox>

TextCleanup::TextCleanup(QWidget *window, TextDisplay *display, ReadingState *state)
    : QObject(window), m_window(window), m_textDisplay(display), m_state(state),
      m_store(new CleaningRuleStore(this)), m_panel(new TextCleanupPanel),
      m_scriptPanel(new ScriptPanel)
{
    connect(m_panel, &TextCleanupPanel::tidyBookChanged, this, &TextCleanup::tidyBook);
    connect(m_panel, &TextCleanupPanel::tidyByDefaultChanged, this, &TextCleanup::tidyByDefault);
    connect(m_panel, &TextCleanupPanel::rulesRequested, this, &TextCleanup::editRules);
    connect(m_scriptPanel, &ScriptPanel::bookScriptChanged, this, &TextCleanup::scriptBook);
    connect(m_scriptPanel, &ScriptPanel::defaultScriptChanged, this, &TextCleanup::scriptByDefault);
    // Loading a script's dictionaries takes a tenth of a second; done on
    // the pool while the reader looks at the choices, choosing costs none.
    connect(m_scriptPanel, &ScriptPanel::choicesShown, this, [this] {
        if (!m_everyScriptLoaded)
            preload({Script::Simplified, Script::Traditional, Script::TraditionalTaiwan,
                     Script::TraditionalTaiwanPhrases, Script::TraditionalHongKong});
        m_everyScriptLoaded = true;
    });
    connect(display, &TextDisplay::opened, this, &TextCleanup::showChoices);
    connect(display, &TextDisplay::scriptFailed, this, &TextCleanup::scriptFailed);
    connect(display, &TextDisplay::cleaningRulesFailed, this, &TextCleanup::rulesFailed);
}

void TextCleanup::load()
{
    m_store->load(cleaningRulesFilePath());
    preload({ScriptChoice::fromKey(m_state->scriptByDefault)});
    showChoices();
}

TransformOptions TextCleanup::optionsFor(const QString &fileName) const
{
    return BookViewOptions::of(fileName, *m_store, *m_state);
}

void TextCleanup::showChoices()
{
    const QString fileName = m_textDisplay->m_fileName;
    m_panel->showChoices(BookViewOptions::tidiesParagraphs(fileName, *m_state),
                         m_state->tidyParagraphsByDefault, !fileName.isEmpty());
    m_scriptPanel->showChoices(BookViewOptions::scriptOf(fileName, *m_state),
                               ScriptChoice::fromKey(m_state->scriptByDefault),
                               !fileName.isEmpty());
}

void TextCleanup::tidyBook(bool on)
{
    const QString fileName = m_textDisplay->m_fileName;
    if (fileName.isEmpty())
        return;
    m_state->setChoice(fileName, BookViewOptions::TidyChoice,
                       on ? QStringLiteral("1") : QStringLiteral("0"));
    saveState();
    readAgain();
}

// Books already read keep what they had; the book on screen too.
void TextCleanup::tidyByDefault(bool on)
{
    const QString fileName = m_textDisplay->m_fileName;
    if (!fileName.isEmpty() && m_state->choice(fileName, BookViewOptions::TidyChoice).isEmpty())
        m_state->setChoice(fileName, BookViewOptions::TidyChoice,
                           BookViewOptions::tidiesParagraphs(fileName, *m_state)
                               ? QStringLiteral("1")
                               : QStringLiteral("0"));
    m_state->tidyParagraphsByDefault = on;
    saveState();
}

void TextCleanup::scriptBook(Script script)
{
    const QString fileName = m_textDisplay->m_fileName;
    if (fileName.isEmpty())
        return;
    m_state->setChoice(fileName, BookViewOptions::ScriptChoiceName, ScriptChoice::keyOf(script));
    saveState();
    showChoices();
    readAgain();
}

// As with tidying: books already read, and the one on screen, keep theirs.
void TextCleanup::scriptByDefault(Script script)
{
    const QString fileName = m_textDisplay->m_fileName;
    if (!fileName.isEmpty() &&
        m_state->choice(fileName, BookViewOptions::ScriptChoiceName).isEmpty())
        m_state->setChoice(fileName, BookViewOptions::ScriptChoiceName,
                           ScriptChoice::keyOf(BookViewOptions::scriptOf(fileName, *m_state)));
    m_state->scriptByDefault = ScriptChoice::keyOf(script);
    saveState();
}

// Once a run: every book in that script would say the same.
void TextCleanup::scriptFailed(const QString &error)
{
    if (m_toldScriptErrors.contains(error))
        return;
    m_toldScriptErrors.insert(error);
    auto *box = new QMessageBox(
        QMessageBox::Warning, QCoreApplication::translate("QObject", "简繁转换"),
        QCoreApplication::translate("QObject", "无法载入简繁转换的词典，文本按原样显示：\n") +
            error,
        QMessageBox::Ok, m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void TextCleanup::preload(const QVector<Script> &scripts)
{
    QStringList names;
    for (const Script script : scripts)
        names += ScriptChoice::configurationsOf(script);
    if (names.isEmpty())
        return;
    m_textDisplay->prepareScripts(names);
}

void TextCleanup::editRules()
{
    CleaningRulesDialog dialog(m_store, m_textDisplay->m_fileName, m_textDisplay->codec(),
                               m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_store->save(cleaningRulesFilePath());
    readAgain();
}

// Told in a box that does not block: this arrives while a text loads.
void TextCleanup::rulesFailed(const QVector<RuleCleaner::Failure> &failures)
{
    QStringList lines;
    for (const RuleCleaner::Failure &failure : failures) {
        m_store->switchOff(failure.rule);
        lines
            << QCoreApplication::translate("QObject", "“%1”：%2").arg(failure.rule, failure.reason);
    }
    m_store->save(cleaningRulesFilePath());
    auto *box = new QMessageBox(
        QMessageBox::Warning, QCoreApplication::translate("QObject", "净化规则"),
        QCoreApplication::translate("QObject", "以下规则无法使用，已停用：\n") + lines.join('\n'),
        QMessageBox::Ok, m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// Only when the book would look different: reading it again costs the
// reader its selection and, for a long book, the moment it takes.
void TextCleanup::readAgain()
{
    const QString fileName = m_textDisplay->m_fileName;
    if (fileName.isEmpty())
        return;
    const TransformOptions options = optionsFor(fileName);
    const TransformOptions &shown = m_textDisplay->transformOptions();
    if (options.rules == shown.rules && options.tidyParagraphs == shown.tidyParagraphs &&
        options.script == shown.script)
        return;
    OpenRequest request;
    request.fileName = fileName;
    request.codec = m_textDisplay->codec();
    // At the start the view stays as a new text shows it.
    const int top = m_textDisplay->topPosition();
    request.position = top > 0 ? top : -1;
    request.fraction = 0;
    request.listed = false;
    emit openRequested(request);
}

void TextCleanup::saveState()
{
    m_state->save(readingStateFilePath());
}
