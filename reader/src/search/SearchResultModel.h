#ifndef SEARCHRESULTMODEL_H
#define SEARCHRESULTMODEL_H

#include "TextSearch.h"

#include <QAbstractListModel>

#include <functional>

// The listed matches of a search, one row each in text order, each with the
// title of the chapter it is in.
class SearchResultModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        ChapterRole = Qt::UserRole,
        BeforeRole, // the words before the match
        MatchRole,
        AfterRole,
    };

    explicit SearchResultModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The chapter title at a shown position; asked for the rows on screen.
    void setChapterTitles(const std::function<QString(int)> &titleAt) { m_titleAt = titleAt; }
    // The chapters changed: every row may be in another one now.
    void chaptersChanged();

    void clear();
    void append(const QVector<SearchHit> &hits);
    const SearchHit &hit(int row) const { return m_hits.at(row); }
    // The first row at or after position, rowCount() when none.
    int firstRowFrom(int position) const;

private:
    QVector<SearchHit> m_hits;
    std::function<QString(int)> m_titleAt;
};

#endif // SEARCHRESULTMODEL_H
