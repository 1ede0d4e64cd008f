#include "ScriptConverter.h"

#include "TracedText.h"

#include <QHash>

#include <cstring>
#include <future>
#include <mutex>

// OpenCC's headers use std::iterator, which C++17 deprecates.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <Config.hpp>
#include <Conversion.hpp>
#include <ConversionChain.hpp>
#include <Converter.hpp>
#include <DictGroup.hpp>
#include <Exception.hpp>
#include <Lexicon.hpp>
#include <MaxMatchSegmentation.hpp>
#pragma GCC diagnostic pop

namespace
{

std::u16string utf16(const std::string &utf8)
{
    const QString text = QString::fromStdString(utf8);
    return std::u16string(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()));
}

// One reader of OpenCC's configurations for the run: it reads each
// dictionary file once and hands the same dictionary to every configuration
// that names it, which then share its layer here (s2t, s2tw, s2twp and s2hk
// all begin with the 49 000 phrases of STPhrases). Neither is safe to use
// from two threads at once; the mutex guards both.
std::mutex &loading()
{
    static std::mutex mutex;
    return mutex;
}

opencc::Config &openccConfig()
{
    static opencc::Config config;
    return config;
}

// A group of dictionaries is tried member by member; a group inside a group
// is the same as its members in its place.
void addLayers(const opencc::DictPtr &dict, PhraseTable *table)
{
    static QHash<const opencc::Dict *, std::shared_ptr<const PhraseTable::Layer>> layers;
    if (const auto group = std::dynamic_pointer_cast<opencc::DictGroup>(dict)) {
        for (const opencc::DictPtr &member : group->GetDicts())
            addLayers(member, table);
        return;
    }
    std::shared_ptr<const PhraseTable::Layer> &layer = layers[dict.get()];
    if (!layer) {
        const opencc::LexiconPtr lexicon = dict->GetLexicon();
        std::vector<PhraseTable::Entry> entries;
        entries.reserve(lexicon->Length());
        for (const auto &entry : *lexicon)
            entries.push_back({utf16(entry->Key()), utf16(entry->GetDefault())});
        layer = PhraseTable::newLayer(entries);
    }
    table->addLayer(layer);
}

bool differs(const std::u16string &converted, const char16_t *source, int length)
{
    return std::memcmp(converted.data(), source, size_t(length) * sizeof(char16_t)) != 0;
}

} // namespace

// Where a stretch of the source went: its characters from..from + length
// became textLength characters from textFrom on of the text traced.
struct ScriptConverter::Piece {
    int from;
    int length;
    int textFrom;
    int textLength;
};

std::shared_ptr<const ScriptConverter> ScriptConverter::forConfiguration(const QString &name,
                                                                         QString *error)
{
    struct Loaded {
        std::shared_ptr<const ScriptConverter> converter;
        QString error;
    };
    // Each configuration is loaded once, by the first thread to ask; others
    // asking for it meanwhile wait for that one, and only for that one.
    static std::mutex mutex;
    static QHash<QString, std::shared_future<Loaded>> configurations;
    std::shared_future<Loaded> future;
    std::promise<Loaded> promise;
    bool loads = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        future = configurations.value(name);
        if (!future.valid()) {
            future = promise.get_future().share();
            configurations.insert(name, future);
            loads = true;
        }
    }
    if (loads) {
        std::shared_ptr<ScriptConverter> converter(new ScriptConverter(name));
        QString reason;
        if (converter->load(&reason))
            promise.set_value({converter, QString()});
        else
            promise.set_value({nullptr, reason});
    }
    const Loaded &loaded = future.get();
    if (error != nullptr)
        *error = loaded.error;
    return loaded.converter;
}

// OpenCC looks for a bare name in its data folder.
bool ScriptConverter::load(QString *error)
{
    const std::lock_guard<std::mutex> lock(loading());
    try {
        const opencc::ConverterPtr converter = openccConfig().NewFromFile(m_name.toStdString());
        const auto segmentation =
            std::dynamic_pointer_cast<opencc::MaxMatchSegmentation>(converter->GetSegmentation());
        if (!segmentation) {
            *error = QStringLiteral("%1: unknown segmentation").arg(m_name);
            return false;
        }
        addLayers(segmentation->GetDict(), &m_segmentation);
        const auto conversions = converter->GetConversionChain()->GetConversions();
        const auto first =
            conversions.empty()
                ? nullptr
                : std::dynamic_pointer_cast<opencc::DictGroup>(conversions.front()->GetDict());
        m_segmentationLeads = first && !first->GetDicts().empty() &&
                              first->GetDicts().front() == segmentation->GetDict();
        for (const opencc::ConversionPtr &conversion :
             converter->GetConversionChain()->GetConversions()) {
            m_chain.emplace_back();
            addLayers(conversion->GetDict(), &m_chain.back());
            m_characterMaps.push_back(m_chain.back().characterMap(fromLayer(m_chain.size() - 1)));
        }
    } catch (const opencc::Exception &exception) {
        *error = QString::fromStdString(exception.what());
        return false;
    } catch (const std::exception &exception) {
        *error = QString::fromStdString(exception.what());
        return false;
    }
    return true;
}

QString ScriptConverter::convert(const QString &text) const
{
    TracedText traced(text);
    convert(&traced);
    return traced.text();
}

void ScriptConverter::convert(TracedText *text) const
{
    // Changes that keep the length are written where they were read: a
    // stretch is read whole before any of it is written, and nothing before
    // it is read again. The first write may detach the text; reading goes on
    // in the copy, which holds what the original did from there on.
    const auto *units = reinterpret_cast<const char16_t *>(text->text().utf16());
    const int size = text->size();
    QChar *inPlace = nullptr;
    const auto write = [&](int at, const char16_t *from, int length) {
        if (inPlace == nullptr) {
            inPlace = text->data();
            units = reinterpret_cast<const char16_t *>(inPlace);
        }
        std::memcpy(inPlace + at, from, size_t(length) * sizeof(char16_t));
    };
    QVector<TracedText::Edit> edits;
    std::u16string converted;
    std::u16string traced;
    std::vector<Piece> pieces;
    const auto convertStretch = [&](int from, int to, const std::u16string *phrase) {
        if (from == to)
            return;
        convertPiece(units + from, to - from, phrase, &converted);
        if (int(converted.size()) == to - from) {
            if (differs(converted, units + from, to - from))
                write(from, converted.data(), to - from);
            return;
        }
        tracePiece(units + from, to - from, phrase, &traced, &pieces);
        for (const Piece &piece : pieces) {
            const int at = from + piece.from;
            const char16_t *shown = traced.data() + piece.textFrom;
            if (piece.textLength != piece.length) {
                edits.append({at, piece.length, QString::fromUtf16(shown, piece.textLength)});
            } else if (std::memcmp(shown, units + at, size_t(piece.length) * 2) != 0) {
                write(at, shown, piece.length);
            }
        }
    };
    int run = 0;
    for (int i = 0; i < size;) {
        const std::u16string *value = nullptr;
        const int length = m_segmentation.match(units + i, size - i, &value);
        if (length == 0) {
            ++i;
            continue;
        }
        convertStretch(run, i, nullptr);
        convertStretch(i, i + length, value);
        i += length;
        run = i;
    }
    convertStretch(run, size, nullptr);
    text->apply(edits);
}

void ScriptConverter::convertPiece(const char16_t *source, int length, const std::u16string *phrase,
                                   std::u16string *out) const
{
    // Pieces are mostly a few characters: the spare buffer is the
    // thread's, not one allocation a piece.
    thread_local std::u16string spare;
    size_t step = 0;
    if (m_segmentationLeads && phrase != nullptr) {
        out->assign(*phrase);
        step = 1;
    } else {
        out->assign(source, size_t(length));
    }
    for (; step < m_chain.size(); ++step) {
        const std::vector<char16_t> &map = m_characterMaps[step];
        if (map.empty()) {
            m_chain[step].convert(out, &spare, fromLayer(step));
            continue;
        }
        for (char16_t &character : *out)
            character = map[character];
    }
}

// A piece whose length changed, converted again with the source of every
// stretch of the output kept: each step replaces keys, and a key that
// spans stretches of the step before joins them into one.
void ScriptConverter::tracePiece(const char16_t *source, int length, const std::u16string *phrase,
                                 std::u16string *text, std::vector<Piece> *pieces) const
{
    pieces->clear();
    size_t step = 0;
    if (m_segmentationLeads && phrase != nullptr) {
        text->assign(*phrase);
        pieces->push_back({0, length, 0, int(phrase->size())});
        step = 1;
    } else {
        text->assign(source, size_t(length));
        for (int i = 0; i < length; ++i)
            pieces->push_back({i, 1, i, 1});
    }
    std::u16string next;
    std::vector<Piece> joined;
    for (; step < m_chain.size(); ++step) {
        const PhraseTable &table = m_chain[step];
        next.clear();
        joined.clear();
        const int size = int(text->size());
        size_t piece = 0; // the first piece not wholly before i
        Piece open{0, 0, 0, 0};
        for (int i = 0; i < size;) {
            const std::u16string *value = nullptr;
            const int matched = table.match(text->data() + i, size - i, &value, fromLayer(step));
            if (matched == 0)
                next.push_back((*text)[size_t(i)]);
            else
                next += *value;
            i += qMax(1, matched);
            // A piece that became nothing joins the one before it.
            while (piece < pieces->size() &&
                   (*pieces)[piece].textFrom + (*pieces)[piece].textLength <= i)
                ++piece;
            const Piece &last = (*pieces)[piece - 1];
            if (last.textFrom + last.textLength == i) {
                open.length = last.from + last.length - open.from;
                open.textLength = int(next.size()) - open.textFrom;
                joined.push_back(open);
                open = {last.from + last.length, 0, int(next.size()), 0};
            }
        }
        text->swap(next);
        pieces->swap(joined);
    }
}

int ScriptConverter::changes(int step, QStringView text) const
{
    if (m_chain.empty())
        return 0;
    const PhraseTable &table = step < 0 ? m_chain.back() : m_chain.at(size_t(step));
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const int size = text.size();
    int changed = 0;
    for (int i = 0; i < size;) {
        const std::u16string *value = nullptr;
        const int length = table.match(units + i, size - i, &value);
        if (length > 0 && (int(value->size()) != length || differs(*value, units + i, length)))
            changed += length;
        i += qMax(1, length);
    }
    return changed;
}
