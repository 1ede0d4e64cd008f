#include "PhraseTable.h"

#include <cstring>

std::shared_ptr<const PhraseTable::Layer> PhraseTable::newLayer(const std::vector<Entry> &entries)
{
    auto made = std::make_shared<Layer>();
    Layer &layer = *made;
    layer.single.assign(0x10000, -1);
    layer.lengths.assign(0x10000, 0);
    layer.singles.assign(0x10000 / 64, 0);
    layer.beginsLonger.assign(0x10000 / 64, 0);
    size_t keyUnits = 0;
    size_t keyCount = 0;
    for (const Entry &entry : entries) {
        if (entry.key.size() > 1 && entry.key.size() <= size_t(MaxKeyLength)) {
            keyUnits += entry.key.size();
            ++keyCount;
        }
    }
    layer.keys.reserve(keyUnits);
    // Sixteen bits a key: a pair of characters no key begins with passes
    // for one in sixteen or fewer, and the 49 000 phrases of STPhrases
    // take 128 KB, which mostly stays in the cache; larger was no faster.
    size_t bits = 4096;
    while (bits < keyCount * 16)
        bits *= 2;
    layer.filterMask = bits - 1;
    layer.pairs.assign(bits / 64, 0);
    layer.triples.assign(bits / 64, 0);
    size_t capacity = 16;
    while (capacity < keyCount * 2)
        capacity *= 2;
    layer.table.resize(capacity);
    for (const Entry &entry : entries) {
        const size_t length = entry.key.size();
        if (length == 0 || length > size_t(MaxKeyLength))
            continue;
        const qint32 value = qint32(layer.values.size());
        const char16_t first = entry.key.front();
        if (length == 1) {
            layer.singles[first / 64] |= quint64(1) << (first % 64);
            if (layer.single[first] < 0) {
                layer.single[first] = value;
                layer.values.push_back(entry.value);
            }
            continue;
        }
        if (find(layer, entry.key.data(), int(length)) != nullptr)
            continue;
        const quint32 hash = hashOf(entry.key.data(), int(length));
        size_t slot = hash & (layer.table.size() - 1);
        while (layer.table[slot].value >= 0)
            slot = (slot + 1) & (layer.table.size() - 1);
        layer.table[slot] = {hash, value, quint32(layer.keys.size()), quint32(length)};
        layer.keys += entry.key;
        layer.values.push_back(entry.value);
        layer.lengths[first] |= 1u << (length - 1);
        layer.beginsLonger[first / 64] |= quint64(1) << (first % 64);
        const size_t bit = pairBit(layer, first, entry.key[1]);
        layer.pairs[bit / 64] |= quint64(1) << (bit % 64);
        if (length > 2) {
            const size_t triple = tripleBit(layer, entry.key.data());
            layer.triples[triple / 64] |= quint64(1) << (triple % 64);
        }
    }
    return made;
}

const PhraseTable::Slot *PhraseTable::find(const Layer &layer, const char16_t *key, int length)
{
    const quint32 hash = hashOf(key, length);
    const size_t mask = layer.table.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot &candidate = layer.table[slot];
        if (candidate.value < 0)
            return nullptr;
        if (candidate.hash == hash && candidate.length == quint32(length) &&
            std::memcmp(layer.keys.data() + candidate.offset, key,
                        size_t(length) * sizeof(char16_t)) == 0)
            return &candidate;
    }
}

// Where mayBegin said a key may begin.
int PhraseTable::matchIn(const Layer &layer, const char16_t *text, int available,
                         const std::u16string **value)
{
    quint32 lengths = 0;
    if (available > 1 && has(layer.pairs, pairBit(layer, text[0], text[1])))
        lengths = layer.lengths[text[0]];
    // Only two characters long, where no longer key begins with these three.
    if ((lengths & ~3u) != 0 && available > 2 && !has(layer.triples, tripleBit(layer, text)))
        lengths &= 2u;
    if (available < MaxKeyLength)
        lengths &= (1u << available) - 1;
    while (lengths != 0) {
        const int length = 32 - __builtin_clz(lengths);
        if (const Slot *found = find(layer, text, length)) {
            *value = &layer.values[size_t(found->value)];
            return length;
        }
        lengths &= ~(1u << (length - 1));
    }
    const qint32 single = layer.single[text[0]];
    if (single < 0)
        return 0;
    *value = &layer.values[size_t(single)];
    return 1;
}

// Mostly nothing in a stretch has a key: then it is left as it is, without
// a copy.
void PhraseTable::convert(std::u16string *text, std::u16string *spare, size_t fromLayer) const
{
    const int size = int(text->size());
    const std::u16string *value = nullptr;
    int i = 0;
    int length = 0;
    while (i < size && (length = match(text->data() + i, size - i, &value, fromLayer)) == 0)
        ++i;
    if (length == 0)
        return;
    spare->assign(*text, 0, size_t(i));
    while (i < size) {
        if (length == 0) {
            spare->push_back((*text)[size_t(i)]);
            ++i;
        } else {
            spare->append(*value);
            i += length;
        }
        length = i < size ? match(text->data() + i, size - i, &value, fromLayer) : 0;
    }
    text->swap(*spare);
}

std::vector<char16_t> PhraseTable::characterMap(size_t fromLayer) const
{
    std::vector<char16_t> map(0x10000);
    for (size_t c = 0; c < map.size(); ++c)
        map[c] = char16_t(c);
    // The last layer first, so that the first with a key has the last word.
    for (size_t i = m_layers.size(); i-- > fromLayer;) {
        const Layer &layer = *m_layers[i];
        for (size_t c = 0; c < map.size(); ++c) {
            if (has(layer.beginsLonger, c))
                return {};
            if (!has(layer.singles, c))
                continue;
            if (layer.values[size_t(layer.single[c])].size() != 1)
                return {};
            map[c] = layer.values[size_t(layer.single[c])].front();
        }
    }
    return map;
}
