#include "SearchResultModel.h"

#include <algorithm>

SearchResultModel::SearchResultModel(QObject *parent) : QAbstractListModel(parent) {}

int SearchResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_hits.size();
}

QVariant SearchResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_hits.size())
        return QVariant();
    const SearchHit &hit = m_hits.at(index.row());
    switch (role) {
    case ChapterRole:
        return m_titleAt ? m_titleAt(hit.position) : QString();
    case BeforeRole:
        return hit.before;
    case MatchRole:
        return hit.match;
    case AfterRole:
        return hit.after;
    case Qt::DisplayRole:
    case Qt::ToolTipRole: // the whole row, where the panel is too narrow for it
        return data(index, ChapterRole).toString() + QLatin1Char('\n') + hit.before + hit.match +
               hit.after;
    default:
        return QVariant();
    }
}

void SearchResultModel::chaptersChanged()
{
    if (!m_hits.isEmpty())
        emit dataChanged(index(0), index(m_hits.size() - 1), {ChapterRole, Qt::DisplayRole});
}

void SearchResultModel::clear()
{
    beginResetModel();
    m_hits.clear();
    endResetModel();
}

void SearchResultModel::append(const QVector<SearchHit> &hits)
{
    if (hits.isEmpty())
        return;
    beginInsertRows(QModelIndex(), m_hits.size(), m_hits.size() + hits.size() - 1);
    m_hits += hits;
    endInsertRows();
}

int SearchResultModel::firstRowFrom(int position) const
{
    const auto at =
        std::lower_bound(m_hits.cbegin(), m_hits.cend(), position,
                         [](const SearchHit &hit, int value) { return hit.position < value; });
    return int(at - m_hits.cbegin());
}
