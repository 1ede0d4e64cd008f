#include "ChapterModel.h"

#include <QFont>

#include <algorithm>

ChapterModel::ChapterModel(QObject *parent) : QAbstractListModel(parent) {}

int ChapterModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_chapters.size();
}

QVariant ChapterModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_chapters.size())
        return QVariant();
    const Chapter &chapter = m_chapters.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: // a long title is cut off in a narrow panel
        return chapter.title;
    case Qt::FontRole:
        if (chapter.level == 0) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    default:
        return QVariant();
    }
}

void ChapterModel::setChapters(const QVector<Chapter> &chapters)
{
    beginResetModel();
    m_chapters = chapters;
    endResetModel();
}

QString ChapterModel::titleAt(int position) const
{
    const int row = rowAt(position);
    return row >= 0 ? chapter(row).title : QString();
}

int ChapterModel::rowAt(int position) const
{
    const auto after = std::upper_bound(
        m_chapters.cbegin(), m_chapters.cend(), position,
        [](int value, const Chapter &chapter) { return value < chapter.position; });
    return int(after - m_chapters.cbegin()) - 1;
}
