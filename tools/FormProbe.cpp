// Prints where the main window's named widgets lie, one "name x y width
// height" line each, relative to the window. The end-to-end script clicks
// the controls of the real program by their object names through it: the
// probe builds the same window the program builds, under the same locale,
// translations and font, so the layout is the same.
//
// With --render it instead draws a text as a named widget of that window
// draws it, in its font and colours, so that the script can look for the
// picture in a screenshot: "plain" as a label draws it, "dim" as a list
// draws a row's greyed first line. The text is translated first; an
// argument fills its %1.

#include "MainForm.h"
#include "ProgramConstants.h"
#include "ZkUtility.h"

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>
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

int renderText(const QWidget &window, const QStringList &args)
{
    const QWidget *widget = window.findChild<QWidget *>(args.at(0));
    if (widget == nullptr ||
        (args.at(1) != QLatin1String("plain") && args.at(1) != QLatin1String("dim")))
        return 2;
    const bool dim = args.at(1) == QLatin1String("dim");
    QString text = QCoreApplication::translate("QObject", args.at(2).toUtf8().constData());
    if (args.size() > 4)
        text = text.arg(args.at(3));
    const QPalette palette = widget->palette();
    const QFontMetrics metrics(widget->font());
    QImage picture(metrics.horizontalAdvance(text), metrics.height(), QImage::Format_RGB32);
    picture.fill(palette.color(dim ? QPalette::Base : QPalette::Window));
    QPainter painter(&picture);
    painter.setFont(widget->font());
    painter.setPen(dim ? palette.color(QPalette::Disabled, QPalette::Text)
                       : palette.color(QPalette::WindowText));
    painter.drawText(0, metrics.ascent(), text);
    painter.end();
    return picture.save(args.last()) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(2);
    const bool render = !args.isEmpty() && args.first() == QLatin1String("--render");
    if (argc < 2 || (render ? args.size() < 5 : !args.isEmpty())) {
        QTextStream(stderr) << "usage: QuirelleFormProbe <folder of the locale folders>"
                               " [--render <widget> plain|dim <text> [<%1>] <picture.png>]\n";
        return 2;
    }
    zk::setupTranslator(QString::fromLocal8Bit(argv[1]), QLocale::system().name(), &app,
                        DefaultLocale);
    QApplication::setFont(AppFont);

    MainForm window;
    window.show();
    if (render)
        return renderText(window, args.mid(1));
    QTimer::singleShot(500, &app, [&window] {
        printWidgets(window);
        QCoreApplication::exit(0);
    });
    return app.exec();
}
