#ifndef CONFIG_H
#define CONFIG_H

#include "ZkXmlFile.h"

#include <QColor>
#include <QFont>
#include <QStringList>

// The reader's settings, kept in Config.xml. They are class-level values:
// the main window and the recent-files menu assign them directly and then
// call save(), which rewrites the whole file.
class Config : public ZkXmlFile
{
    Q_OBJECT

public:
    explicit Config(QObject *parent = nullptr);

    void readParse(QXmlStreamReader *reader) override;
    void writeParse(QXmlStreamWriter *writer) override;

    static QFont uiFont;
    static QFont textFont;
    // The size of the text font a new reader starts with.
    static constexpr int DefaultTextPointSize = 12;
    static QColor textColor;
    static QColor backColor;
    static int scrollScreenTime; // milliseconds per scroll-bar step
    static int scrollPageTime;   // seconds per page
    static QStringList fileList; // recent files, newest first

private:
    static bool isAcceptedRoot(QXmlStreamReader *reader);
    void readElement(QXmlStreamReader *reader);
    void readValue(QXmlStreamReader *reader);
    void salvage();
    static void readFileList(QXmlStreamReader *reader);
    void writeFileList(QXmlStreamWriter *writer);
};

#endif // CONFIG_H
