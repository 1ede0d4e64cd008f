#ifndef ZKXMLFILE_H
#define ZKXMLFILE_H

#include "zkkit_export.h"

#include <QObject>

class QColor;
class QFont;
class QIODevice;
class QString;
class QXmlStreamReader;
class QXmlStreamWriter;

// Base of the small XML files a program keeps its settings or records in.
// It opens the file and hands a stream reader or writer to the subclass's
// hooks; the subclass decides the document. The value helpers give every
// such file the same spelling of integers, fonts and colours.
class ZKKIT_EXPORT ZkXmlFile : public QObject
{
    Q_OBJECT

public:
    explicit ZkXmlFile(QObject *parent = nullptr);
    ~ZkXmlFile() override;

    // A file that cannot be opened is passed over silently: the hook is not
    // called and the subclass keeps its values.
    void load(const QString &fileName);
    // The old file is only replaced by a completely written new one, never
    // by a document the writer reported an error for, and a file its owner
    // may not write is left alone.
    void save(const QString &fileName);

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

private:
    void saveThroughTemporaryFile(const QString &fileName);
    void saveInPlace(const QString &fileName);
    bool writeDocument(QIODevice *device); // false when the writer reports an error

    QXmlStreamReader *m_reader; // owned; reset by every load
    QXmlStreamWriter *m_writer; // owned; renewed by every save, keeping its settings
};

#endif // ZKXMLFILE_H
