#ifndef STOREWARNINGS_H
#define STOREWARNINGS_H

#include <QObject>

class QWidget;
class ZkXmlFile;

// Settings and bookmarks are saved at every change and nothing else tells
// the user when that fails: every store of the window reports here. A box
// that does not block says that a store cannot be saved (once per run: such
// a store fails at every change) or that a file the reader could not read
// whole was kept as a copy before it was replaced.
class StoreWarnings : public QObject
{
    Q_OBJECT

public:
    // window: parent of the boxes, and of this object.
    explicit StoreWarnings(QWidget *window);

    void watch(ZkXmlFile *store);

private:
    void saveFailed(const QString &fileName);
    void originalKept(const QString &fileName, const QString &copyName);
    void show(const QString &text);

    QWidget *m_window; // the owner
    bool m_toldSaveFailure = false;
};

#endif // STOREWARNINGS_H
