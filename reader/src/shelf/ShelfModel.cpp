#include "ShelfModel.h"

#include "ReadingState.h"

#include <QColor>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

ShelfModel::ShelfModel(QObject *parent) : QAbstractTableModel(parent) {}

void ShelfModel::load(const ReadingState &state)
{
    beginResetModel();
    m_books.clear();
    for (const QString &fileName : state.fileNames()) {
        Book book;
        book.fileName = fileName;
        book.facts = state.facts(fileName);
        book.title = titleOf(fileName, book.facts.firstChapter);
        book.lastRead = state.lastRead(fileName);
        book.there = QFileInfo(fileName).isFile();
        m_books << book;
    }
    endResetModel();
}

int ShelfModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_books.size();
}

int ShelfModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ShelfModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_books.size())
        return QVariant();
    const Book &book = m_books.at(index.row());
    const bool there = book.there || !book.foundName.isEmpty();
    switch (role) {
    case FileRole:
        return book.currentName();
    case ThereRole:
        return there;
    case SearchRole:
        return book.title + QLatin1Char(' ') + QFileInfo(book.fileName).fileName();
    case Qt::ToolTipRole:
        return QDir::toNativeSeparators(book.currentName());
    case Qt::ForegroundRole:
        return there ? QVariant() : QVariant(QColor(Qt::gray));
    case Qt::DisplayRole:
        break;
    default:
        return QVariant();
    }
    switch (index.column()) {
    case TitleColumn:
        return book.title;
    case ProgressColumn:
        return book.facts.progress >= 0 ? book.facts.progressText() : QString();
    case LastReadColumn:
        return book.lastRead > 0 ? QLocale().toString(QDateTime::fromMSecsSinceEpoch(book.lastRead),
                                                      QLocale::ShortFormat)
                                 : QString();
    case PlaceColumn:
        if (!book.foundName.isEmpty())
            return QCoreApplication::translate("QObject", "已移到 %1")
                .arg(QDir::toNativeSeparators(QFileInfo(book.foundName).absolutePath()));
        return book.there ? QDir::toNativeSeparators(QFileInfo(book.fileName).absolutePath())
                          : QCoreApplication::translate("QObject", "文件不存在");
    default:
        return QVariant();
    }
}

QVariant ShelfModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case TitleColumn:
        return QCoreApplication::translate("QObject", "书名");
    case ProgressColumn:
        return QCoreApplication::translate("QObject", "进度");
    case LastReadColumn:
        return QCoreApplication::translate("QObject", "上次阅读");
    case PlaceColumn:
        return QCoreApplication::translate("QObject", "位置");
    default:
        return QVariant();
    }
}

QVector<ShelfModel::Missing> ShelfModel::missing() const
{
    QVector<Missing> books;
    for (const Book &book : m_books) {
        if (!book.there && book.foundName.isEmpty() && !book.facts.fingerprint.isEmpty())
            books.append({book.fileName, book.facts});
    }
    return books;
}

QStringList ShelfModel::folders() const
{
    QStringList folders;
    for (const Book &book : m_books) {
        const QString folder = QFileInfo(book.fileName).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    return folders;
}

void ShelfModel::setFound(const QString &fileName, const QString &foundName)
{
    for (int row = 0; row < m_books.size(); ++row) {
        if (m_books.at(row).fileName != fileName)
            continue;
        m_books[row].foundName = foundName;
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
}

QString ShelfModel::titleOf(const QString &fileName, const QString &firstChapter)
{
    const QString name = QFileInfo(fileName).completeBaseName();
    static const QRegularExpression saysLittle(QStringLiteral("^(\\d+|.)$"));
    if (!firstChapter.isEmpty() && (name.isEmpty() || saysLittle.match(name).hasMatch()))
        return name.isEmpty() ? firstChapter : name + QStringLiteral(" · ") + firstChapter;
    return name;
}
