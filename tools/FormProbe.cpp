// Prints where the main window's named widgets lie, one "name x y width
// height" line each, relative to the window. The end-to-end script clicks
// the controls of the real program by their object names through it: the
// probe builds the same window the program builds, under the same locale,
// translations and font, so the layout is the same.

#include "MainForm.h"
#include "ProgramConstants.h"
#include "ZkUtility.h"

#include <QApplication>
#include <QLocale>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>

namespace
{

void printRect(QTextStream &out, const QString &name, const QPoint &origin, const QSize &size)
{
    out << name << ' ' << origin.x() << ' ' << origin.y() << ' ' << size.width() << ' '
        << size.height() << '\n';
}

// The widgets of the page on show; names already printed are not again.
void printVisible(QTextStream &out, const QWidget &window, QSet<QString> *printed)
{
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        const QString name = widget->objectName();
        if (name.isEmpty() || !widget->isVisible() || printed->contains(name))
            continue;
        printed->insert(name);
        printRect(out, name, widget->mapTo(&window, QPoint(0, 0)), widget->size());
    }
}

// Every page of the tab widget in turn, so that the controls of the other
// pages are found too, and the tabs themselves as tab1 … tabN.
void printWidgets(QWidget &window)
{
    QTextStream out(stdout);
    out << "MainForm 0 0 " << window.width() << ' ' << window.height() << '\n';
    QSet<QString> printed;
    printVisible(out, window, &printed);
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    if (tabs == nullptr)
        return;
    const QTabBar *bar = tabs->tabBar();
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect tab = bar->tabRect(i);
        printRect(out, QStringLiteral("tab%1").arg(i + 1), bar->mapTo(&window, tab.topLeft()),
                  tab.size());
        tabs->setCurrentIndex(i);
        QCoreApplication::processEvents();
        printVisible(out, window, &printed);
    }
    tabs->setCurrentIndex(0);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: QuirelleFormProbe <folder of the locale folders>\n";
        return 2;
    }
    zk::setupTranslator(QString::fromLocal8Bit(argv[1]), QLocale::system().name(), &app,
                        DefaultLocale);
    QApplication::setFont(AppFont);

    MainForm window;
    window.show();
    QTimer::singleShot(500, &app, [&window] {
        printWidgets(window);
        QCoreApplication::exit(0);
    });
    return app.exec();
}
