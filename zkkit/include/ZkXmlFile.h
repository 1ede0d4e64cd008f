#ifndef ZKXMLFILE_H
#define ZKXMLFILE_H

#include "zkkit_export.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QColor;
class QFont;
class QIODevice;
class QStringList;
class QXmlStreamReader;
class QXmlStreamWriter;

// Base of the small XML files a program keeps its settings or records in.
// It opens the file and hands a stream reader or writer to the subclass's
// hooks; the subclass decides the document. The value helpers give every
// such file the same spelling of integers, fonts and colours.
//
// A file is only ever replaced whole: the new document goes to a temporary
// file in the same folder, which then takes the old one's place. A file
// that was not read completely (damaged, unreadable, or more than the
// hooks understood) is kept as a copy beside it before the first save
// after that load replaces it.
class ZKKIT_EXPORT ZkXmlFile : public QObject
{
    Q_OBJECT

public:
    explicit ZkXmlFile(QObject *parent = nullptr);
    ~ZkXmlFile() override;

    // A file that cannot be opened is passed over: the hook is not called
    // and the subclass keeps its values.
    void load(const QString &fileName);
    // True once the new document has replaced the file. False, with the
    // file as it was, when the folder takes no temporary file, the disk is
    // full, the writer reported an error or the owner may not write the
    // file; saveFailed() then tells the program. A subclass whose file
    // other processes write too may merge with it first.
    virtual bool save(const QString &fileName);

    virtual void readParse(QXmlStreamReader *reader);
    virtual void writeParse(QXmlStreamWriter *writer);

    // The readers work on the reader's current element and never move the
    // reader. A missing or unusable attribute keeps the value as it was.
    void readInteger(QXmlStreamReader *reader, const QString &name, int &value);
    void writeInteger(QXmlStreamWriter *writer, const QString &name, int value);
    void readFont(QXmlStreamReader *reader, QFont &font);
    void writeFont(QXmlStreamWriter *writer, const QString &name, const QFont &font);
    void readColor(QXmlStreamReader *reader, QColor &color);
    void writeColor(QXmlStreamWriter *writer, const QString &name, const QColor &color);

signals:
    // The new document has replaced the file.
    void saved(const QString &fileName);
    void saveFailed(const QString &fileName);
    // The file about to be replaced had not been read completely; what it
    // held is kept as copyName.
    void originalKept(const QString &fileName, const QString &copyName);

protected:
    // For a hook that leaves part of the file unread (a root it does not
    // accept, a newer version): the file is then kept before it is replaced.
    // A reader error marks the load as incomplete by itself.
    void setLoadIncomplete();
    // For a hook whose reader met an error: hands each element of one of
    // the names that is well-formed by itself (or once a bare "&" in it is
    // escaped), wherever it stands in the damaged document and in document
    // order, to read, positioned on its start tag. Only valid during
    // readParse.
    void readEachElement(const QStringList &names,
                         const std::function<void(QXmlStreamReader *)> &read);

private:
    bool keepOriginal(const QString &fileName, const QString &target);
    bool writeThroughTemporaryFile(const QString &fileName);
    bool writeDocument(QIODevice *device); // false when the writer reports an error

    QXmlStreamReader *m_reader; // owned; reset by every load
    QXmlStreamWriter *m_writer; // owned; renewed by every save, keeping its settings
    QByteArray m_document;      // the file being loaded, during readParse only
    QString m_loadedFile;       // absolute path of the last load
    // Why the file of the last load is kept before it is next replaced
    // ("damaged", "kept"); empty when the load took all of it.
    QString m_copyReason;
};

#endif // ZKXMLFILE_H
