#include "BlockHeights.h"

#include <QtGlobal>

// Every height is a multiple of 1/64 pixel (the toolkit's line metrics are
// 26.6 fixed point, estimates are whole lines), so every sum here is exact in
// a double and tops from the tree always meet the bottoms above them.
void BlockHeights::assign(std::vector<qreal> heights)
{
    m_heights = std::move(heights);
    const size_t count = m_heights.size();
    m_tree.assign(count + 1, 0);
    m_total = 0;
    for (size_t i = 1; i <= count; ++i) {
        m_tree[i] += m_heights[i - 1];
        m_total += m_heights[i - 1];
        const size_t parent = i + (i & (~i + 1));
        if (parent <= count)
            m_tree[parent] += m_tree[i];
    }
}

void BlockHeights::splice(int first, int count, const std::vector<qreal> &inserted)
{
    if (first + count != size()) {
        std::vector<qreal> heights = std::move(m_heights);
        heights.erase(heights.begin() + first, heights.begin() + (first + count));
        heights.insert(heights.begin() + first, inserted.cbegin(), inserted.cend());
        assign(std::move(heights));
        return;
    }
    // A tree node covers only indexes at or below its own, so those before
    // first stay as they are.
    for (int i = first; i < first + count; ++i)
        m_total -= m_heights[i];
    m_heights.resize(first);
    m_tree.resize(first + 1);
    for (qreal height : inserted)
        append(height);
}

// Node i holds the heights of (i - lowbit(i), i]: the new height and the
// sums of the nodes below it that make up the rest of that stretch.
void BlockHeights::append(qreal height)
{
    m_heights.push_back(height);
    m_total += height;
    const size_t i = m_heights.size();
    qreal node = height;
    for (size_t below = i - 1, end = i - (i & (~i + 1)); below > end; below -= below & (~below + 1))
        node += m_tree[below];
    m_tree.push_back(node);
}

void BlockHeights::set(int index, qreal height)
{
    const qreal change = height - m_heights[index];
    if (change == 0)
        return;
    m_heights[index] = height;
    m_total += change;
    for (size_t i = size_t(index) + 1; i < m_tree.size(); i += i & (~i + 1))
        m_tree[i] += change;
}

qreal BlockHeights::sumBefore(int index) const
{
    qreal sum = 0;
    for (size_t i = size_t(qBound(0, index, size())); i > 0; i -= i & (~i + 1))
        sum += m_tree[i];
    return sum;
}

int BlockHeights::indexAt(qreal y) const
{
    const size_t count = m_heights.size();
    size_t step = 1;
    while (step * 2 <= count)
        step *= 2;
    size_t below = 0; // blocks wholly above y
    for (; step > 0 && count > 0; step /= 2) {
        if (below + step <= count && m_tree[below + step] <= y) {
            below += step;
            y -= m_tree[below];
        }
    }
    return qMax(0, qMin(int(below), size() - 1));
}
