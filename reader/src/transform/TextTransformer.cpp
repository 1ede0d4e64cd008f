#include "TextTransformer.h"

#include "BuiltInRules.h"
#include "ScriptChoice.h"
#include "ScriptConverter.h"
#include "TextTuning.h"
#include "WorkerPool.h"

namespace
{

QVector<CleaningRule> rulesOf(const TransformOptions &options)
{
    return options.builtInRules ? BuiltInRules::shipped() + options.rules : options.rules;
}

// Every line break as one LF, which counts as the document counts them.
QString normalized(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

TextTransformer::TextTransformer(const TransformOptions &options)
    : m_identity(options.isIdentity()), m_tidy(options.tidyParagraphs), m_cleaner(rulesOf(options)),
      m_tidier(options.keepOneBlankLine), m_script(options.script)
{
}

TextTransformer::Output TextTransformer::transform(const QString &piece, bool last)
{
    if (m_identity)
        return {piece, PositionMap()};
    TracedText stretch(normalized(piece), m_filePosition);
    const int fileEnd = m_filePosition + stretch.size();
    m_cleaner.clean(&stretch);
    convertScript(&stretch, fileEnd);
    TracedText text = m_held;
    text.append(stretch);
    TracedText held = text.split(tidy(&text, last), fileEnd);
    const int emittedEnd = held.size() > 0 ? held.fileStart() : fileEnd;

    Output output{text.text(), PositionMap()};
    output.map.append(text.changes(emittedEnd), 0, m_shownPosition);
    m_shownPosition += text.size();
    m_filePosition = fileEnd;
    m_held = held;
    return output;
}

// Where the text that waits begins. A book is judged on its first lines,
// which wait until there are enough of them.
int TextTransformer::tidy(TracedText *text, bool last)
{
    if (!m_tidy)
        return text->size();
    if (!m_tidier.isJudged()) {
        if (text->size() < ParagraphTidier::SampleCharacters && !last)
            return 0;
        m_tidier.judge(QStringView(text->text()).left(ParagraphTidier::SampleCharacters));
    }
    return m_tidier.tidy(text, last);
}

// The first stretch chooses the configuration: the text's own script shows
// in its first lines. A stretch ends at a line break, where no phrase goes
// on.
void TextTransformer::convertScript(TracedText *stretch, int fileEnd)
{
    if (!m_scriptChosen && m_script != Script::Unchanged) {
        m_scriptChosen = true;
        const QString name = ScriptChoice::configurationFor(
            m_script, QStringView(stretch->text()).left(ParagraphTidier::SampleCharacters));
        m_converter = ScriptConverter::forConfiguration(name, &m_scriptError);
    }
    if (!m_converter)
        return;
    const int half = stretch->size() > TextTuning::HalvedConversionCharacters
                         ? stretch->text().lastIndexOf(QLatin1Char('\n'), stretch->size() / 2)
                         : -1;
    if (half < 0) {
        m_converter->convert(stretch);
        return;
    }
    TracedText second = stretch->split(half + 1, fileEnd);
    const std::shared_ptr<const ScriptConverter> converter = m_converter;
    QFuture<void> other = WorkerPool::run([&second, converter] { converter->convert(&second); });
    m_converter->convert(stretch);
    other.waitForFinished();
    stretch->append(second);
}

QString TextTransformer::scriptConfiguration() const
{
    return m_converter ? m_converter->name() : QString();
}
