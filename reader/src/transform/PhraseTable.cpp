#include "PhraseTable.h"

void PhraseTable::addLayer(const std::vector<Entry> &entries)
{
    Layer layer;
    layer.single.assign(0x10000, -1);
    layer.lengths.assign(0x10000, 0);
    layer.pairs.assign(PairBits / 64, 0);
    layer.triples.assign(PairBits / 64, 0);
    size_t keyUnits = 0;
    for (const Entry &entry : entries) {
        if (entry.key.size() > 1 && entry.key.size() <= size_t(MaxKeyLength))
            keyUnits += entry.key.size();
    }
    // The views into the keys stay valid: the string never grows again.
    layer.keys.reserve(keyUnits);
    for (const Entry &entry : entries) {
        const size_t length = entry.key.size();
        if (length == 0 || length > size_t(MaxKeyLength))
            continue;
        const qint32 value = qint32(layer.values.size());
        const char16_t first = entry.key.front();
        if (length == 1) {
            if (layer.single[first] < 0) {
                layer.single[first] = value;
                layer.values.push_back(entry.value);
            }
            continue;
        }
        const std::u16string_view key(entry.key);
        if (layer.multi.count(key) > 0)
            continue;
        const size_t offset = layer.keys.size();
        layer.keys += entry.key;
        layer.values.push_back(entry.value);
        layer.multi.emplace(std::u16string_view(layer.keys).substr(offset, length), value);
        layer.lengths[first] |= 1u << (length - 1);
        const size_t bit = pairBit(first, entry.key[1]);
        layer.pairs[bit / 64] |= quint64(1) << (bit % 64);
        if (length > 2) {
            const size_t triple = tripleBit(entry.key.data());
            layer.triples[triple / 64] |= quint64(1) << (triple % 64);
        }
    }
    m_layers.push_back(std::move(layer));
}

int PhraseTable::matchIn(const Layer &layer, const char16_t *text, int available,
                         const std::u16string **value)
{
    quint32 lengths = available > 1 ? layer.lengths[text[0]] : 0;
    if (lengths != 0) {
        const size_t bit = pairBit(text[0], text[1]);
        if ((layer.pairs[bit / 64] & (quint64(1) << (bit % 64))) == 0)
            lengths = 0;
    }
    // Only two characters long, where no longer key begins with these three.
    if ((lengths & ~3u) != 0 && available > 2) {
        const size_t bit = tripleBit(text);
        if ((layer.triples[bit / 64] & (quint64(1) << (bit % 64))) == 0)
            lengths &= 2u;
    }
    if (available < MaxKeyLength)
        lengths &= (1u << available) - 1;
    while (lengths != 0) {
        const int length = 32 - __builtin_clz(lengths);
        const auto found = layer.multi.find(std::u16string_view(text, size_t(length)));
        if (found != layer.multi.end()) {
            *value = &layer.values[size_t(found->second)];
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

int PhraseTable::match(const char16_t *text, int available, const std::u16string **value,
                       size_t fromLayer) const
{
    for (size_t i = fromLayer; i < m_layers.size(); ++i) {
        const int length = matchIn(m_layers[i], text, available, value);
        if (length > 0)
            return length;
    }
    return 0;
}

void PhraseTable::convert(std::u16string_view text, std::u16string *out, size_t fromLayer) const
{
    const int size = int(text.size());
    for (int i = 0; i < size;) {
        const std::u16string *value = nullptr;
        const int length = match(text.data() + i, size - i, &value, fromLayer);
        if (length == 0) {
            out->push_back(text[size_t(i)]);
            ++i;
        } else {
            out->append(*value);
            i += length;
        }
    }
}
