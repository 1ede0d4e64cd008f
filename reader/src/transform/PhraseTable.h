#ifndef PHRASETABLE_H
#define PHRASETABLE_H

#include <QVector>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One dictionary of a script conversion in UTF-16, as the view's text is
// held: what each phrase or character becomes. A dictionary may be made of
// layers tried in order, as a group of OpenCC dictionaries is: the first
// layer with a key at a place gives its longest key there. Finding the key
// at a place is what converting a novel does fifty million times, so every
// layer turns most places away on bits that stay in the cache (whether the
// character alone is a key, whether a longer key begins with it, and with
// it and the next one); only past those are its arrays and its hash asked.
// Immutable once built; any thread.
class PhraseTable
{
public:
    // Longer keys are left out; the dictionaries the reader uses have none.
    static constexpr int MaxKeyLength = 32;

    struct Entry {
        std::u16string key;
        std::u16string value;
    };

    // One dictionary; configurations that share a dictionary share its
    // layer. Within a layer, the first entry of a key counts.
    struct Layer;
    static std::shared_ptr<const Layer> newLayer(const std::vector<Entry> &entries);
    void addLayer(std::shared_ptr<const Layer> layer) { m_layers.push_back(std::move(layer)); }
    bool isEmpty() const { return m_layers.empty(); }

    // The length of the key at text (available characters from there on),
    // with its value, or 0 where no key begins; the layers before fromLayer
    // are passed over.
    // Inline, with the test that turns most places away, because the
    // segmentation and every step ask at nearly every character.
    int match(const char16_t *text, int available, const std::u16string **value,
              size_t fromLayer = 0) const
    {
        for (size_t i = fromLayer; i < m_layers.size(); ++i) {
            const Layer &layer = *m_layers[i];
            if (!mayBegin(layer, text, available))
                continue;
            if (const int length = matchIn(layer, text, available, value))
                return length;
        }
        return 0;
    }
    // Every key replaced by its value, longest first, from the left; spare
    // is for the thread to keep between calls.
    void convert(std::u16string *text, std::u16string *spare, size_t fromLayer = 0) const;
    // What each character becomes, where every key is one character and so
    // is its value (a dictionary of characters and their variants): one
    // look-up instead of a search. Empty where some key or value is longer.
    std::vector<char16_t> characterMap(size_t fromLayer = 0) const;

private:
    // Cheap and good enough for keys of a few Chinese characters.
    static quint32 hashOf(const char16_t *key, int length)
    {
        quint32 hash = 0;
        for (int i = 0; i < length; ++i)
            hash = hash * 0x9E3779B1u + key[i];
        return hash ^ (hash >> 15);
    }
    // One key longer than a character, in an open-addressed table: one
    // probe mostly finds it or its absence, without a chain of nodes.
    struct Slot {
        quint32 hash;
        qint32 value = -1; // -1 for an empty slot
        quint32 offset;    // in keys
        quint32 length;
    };
    // Whether any longer key begins with this pair of characters; most
    // places of a text begin none, and one bit says so.
    static size_t pairBit(const Layer &layer, char16_t first, char16_t second)
    {
        return (size_t(first) * 0x9E37u + second) & layer.filterMask;
    }
    // And the same for the first three characters of keys of three or more.
    static size_t tripleBit(const Layer &layer, const char16_t *key)
    {
        return ((size_t(key[0]) * 0x9E37u + key[1]) * 0x9E37u + key[2]) & layer.filterMask;
    }

    static bool has(const std::vector<quint64> &bits, size_t bit)
    {
        return (bits[bit / 64] & (quint64(1) << (bit % 64))) != 0;
    }
    // False where no key of the layer can begin at text: the character
    // alone is no key, and no longer key begins with it and the next.
    static bool mayBegin(const Layer &layer, const char16_t *text, int available)
    {
        if (has(layer.singles, text[0]))
            return true;
        return available > 1 && has(layer.beginsLonger, text[0]) &&
               has(layer.pairs, pairBit(layer, text[0], text[1]));
    }
    static const Slot *find(const Layer &layer, const char16_t *key, int length);
    static int matchIn(const Layer &layer, const char16_t *text, int available,
                       const std::u16string **value);

    std::vector<std::shared_ptr<const Layer>> m_layers;

public:
    struct Layer {
        std::vector<std::u16string> values;
        // By the first character: the value of that character alone (or
        // -1), and the lengths of the longer keys beginning with it (bit
        // n - 1 for length n).
        std::vector<qint32> single;
        std::vector<quint32> lengths;
        std::u16string keys; // the longer keys, one after the other
        // Whether a character alone is a key, and whether a longer key
        // begins with it: 8 KB each, which stay in the cache, where the
        // arrays above would not.
        std::vector<quint64> singles;
        std::vector<quint64> beginsLonger;
        std::vector<quint64> pairs;
        std::vector<quint64> triples;
        size_t filterMask;       // of the bits of pairs and triples
        std::vector<Slot> table; // a power of two, at most half full
    };
};

#endif // PHRASETABLE_H
