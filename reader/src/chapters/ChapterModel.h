#ifndef CHAPTERMODEL_H
#define CHAPTERMODEL_H

#include "ChapterIndex.h"

#include <QAbstractListModel>

// The headings of the text on screen, one row each in text order; volumes
// show in bold.
class ChapterModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit ChapterModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void setChapters(const QVector<Chapter> &chapters);
    const Chapter &chapter(int row) const { return m_chapters.at(row); }
    // The row of the chapter that holds position, -1 before the first one.
    int rowAt(int position) const;
    // The title of that chapter; empty above the first.
    QString titleAt(int position) const;

private:
    QVector<Chapter> m_chapters;
};

#endif // CHAPTERMODEL_H
