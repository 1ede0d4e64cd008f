#ifndef SCRIPTCONVERTER_H
#define SCRIPTCONVERTER_H

#include "PhraseTable.h"

#include <QString>
#include <QVector>

#include <memory>
#include <string>
#include <vector>

class TracedText;

// Converts text between simplified and traditional characters as one
// OpenCC configuration does (s2t.json, tw2sp.json, …), by phrases: the text
// is cut into the phrases of the configuration's segmentation dictionary
// and the runs between them, and each piece goes through its chain of
// dictionaries. The configurations and dictionaries are OpenCC's, read
// from the system's data folder; the matching is done here, in UTF-16 and
// with every change in length traced, because converting a novel through
// OpenCC's UTF-8 strings took ten times longer and said nothing of where a
// phrase of the output came from. Immutable once loaded; any thread.
class ScriptConverter
{
public:
    // The configuration named (a file of OpenCC's data folder), loaded once
    // for the run of the program and shared; null, with the reason in
    // error, where it cannot be loaded.
    static std::shared_ptr<const ScriptConverter> forConfiguration(const QString &name,
                                                                   QString *error = nullptr);

    const QString &name() const { return m_name; }
    QString convert(const QString &text) const;
    // Converts in place; a piece that changes length is a replacement of
    // the piece, the rest keeps each character where it was.
    void convert(TracedText *text) const;
    // How many characters of text one step of the chain (0 the first, -1
    // the last) would change, alone: what tells a text's script and region.
    int changes(int step, QStringView text) const;

private:
    struct Piece;
    explicit ScriptConverter(const QString &name) : m_name(name) {}
    bool load(QString *error);
    // phrase: the value of a phrase the segmentation found, which is what
    // the first step makes of it where that step begins with the
    // segmentation's dictionary; else null.
    void convertPiece(const char16_t *source, int length, const std::u16string *phrase,
                      std::u16string *out) const;
    void tracePiece(const char16_t *source, int length, const std::u16string *phrase,
                    std::u16string *text, std::vector<Piece> *pieces) const;

    // The layers of a step that a stretch between phrases goes through: the
    // segmentation's dictionary, where it leads the first step, has no key
    // there.
    size_t fromLayer(size_t step) const { return step == 0 && m_segmentationLeads ? 1 : 0; }

    QString m_name;
    PhraseTable m_segmentation;
    std::vector<PhraseTable> m_chain;
    // The first step's first dictionary is the segmentation's, as in
    // OpenCC's own configurations: a phrase the segmentation found is what
    // that step makes of it, and the runs between phrases have none of its
    // keys. Each place of a text is then looked up there once, not twice.
    bool m_segmentationLeads = false;
    // By step, what each character becomes, where the step only changes
    // characters into others (PhraseTable::characterMap); else empty.
    std::vector<std::vector<char16_t>> m_characterMaps;
};

#endif // SCRIPTCONVERTER_H
