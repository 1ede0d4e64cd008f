#ifndef BLOCKHEIGHTS_H
#define BLOCKHEIGHTS_H

#include <QtGlobal>

#include <vector>

// The heights of a document's blocks with their running sums, kept in a
// Fenwick tree: the top of any block, and the block at any height, take
// logarithmic time anywhere in a text of millions of blocks.
class BlockHeights
{
public:
    int size() const { return int(m_heights.size()); }
    qreal at(int index) const { return m_heights[index]; }
    qreal total() const { return m_total; }
    void assign(std::vector<qreal> heights);
    // Replaces the count heights from first on with inserted. A change that
    // reaches the last block, as a text arriving in pieces makes, costs
    // logarithmic time per height replaced; elsewhere the tree is built anew.
    void splice(int first, int count, const std::vector<qreal> &inserted);
    void set(int index, qreal height);
    qreal sumBefore(int index) const;
    // The index whose stretch holds y, clamped to the valid indexes.
    int indexAt(qreal y) const;

private:
    void append(qreal height);

    std::vector<qreal> m_heights;
    std::vector<qreal> m_tree; // 1-based
    qreal m_total = 0;
};

#endif // BLOCKHEIGHTS_H
