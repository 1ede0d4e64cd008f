#ifndef ZKADHELPER_H
#define ZKADHELPER_H

#include "zkkit_export.h"

#include <QObject>
#include <QPixmap>
#include <QString>
#include <QVector>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
class QWidget;
class QXmlStreamReader;

// One advertisement: the attributes of its "ad" element and its picture,
// which it downloads by itself.
class ZKKIT_EXPORT ZkAdImageData : public QObject
{
    Q_OBJECT

public:
    explicit ZkAdImageData(QObject *parent = nullptr);

    // Starts the picture download; m_loaded tells when it has arrived.
    void exec();

    QPixmap m_pixmap;
    QString m_imageUrl;
    QString m_imageFormat; // a format name of Qt's image readers; empty detects it
    QString m_fileName;
    QString m_linkUrl;
    QString m_text;
    QNetworkAccessManager *m_manager; // Qt child of the entry
    bool m_loaded = false;

    // Limits of the picture download: past either the picture stays not
    // loaded.
    int m_timeout = 60 * 1000;
    qint64 m_maxSize = 8 * 1024 * 1024;

private slots:
    void downloadFinished(QNetworkReply *reply);
};

// Turns a plain widget into a rotating picture panel: downloads an XML
// document listing advertisements, downloads their pictures, shows them in
// turn as the widget's background and opens the link of the picture on
// show when the widget is clicked.
class ZKKIT_EXPORT ZkAdHelper : public QObject
{
    Q_OBJECT

public:
    explicit ZkAdHelper(QObject *parent = nullptr);
    ~ZkAdHelper() override;

    // Must come before exec(): the panel is shown by the first
    // configuration that arrives.
    void setWidget(QWidget *widget);
    void exec();
    // Rebuilds the list from a document whose root is "zks" or carries
    // version="1"; any other document leaves the list as it is.
    void readConfig(QIODevice *device);
    void downloadAll();
    void clear();
    void stop();
    void click();

    bool eventFilter(QObject *watched, QEvent *event) override;

    const QVector<ZkAdImageData *> &images() const { return m_images; }

    QString m_url;         // address of the configuration document
    int m_interval = 2000; // rotation interval in milliseconds

    // Limits of the configuration download (past either it changes nothing)
    // and of every picture download started after they are set.
    int m_timeout = 30 * 1000;
    qint64 m_maxConfigSize = 256 * 1024;
    int m_imageTimeout = 60 * 1000;
    qint64 m_maxImageSize = 8 * 1024 * 1024;

private slots:
    void downloadFinished(QNetworkReply *reply);
    void play();

private:
    bool readRoot();
    ZkAdImageData *readEntry();

    QWidget *m_widget = nullptr;       // the panel, not owned
    QXmlStreamReader *m_xml;           // owned
    QNetworkAccessManager *m_manager;  // Qt child
    QTimer *m_timer;                   // owned, no Qt parent
    QVector<ZkAdImageData *> m_images; // owned, no Qt parent
    int m_next = 0;                    // entry the next tick tries
    int m_current = -1;                // entry on show; -1 while none of this list is
};

#endif // ZKADHELPER_H
