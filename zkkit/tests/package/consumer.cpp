#include <ZkSkin.h>
#include <ZkTextEditHelper.h>
#include <ZkUtility.h>
#include <ZkXmlFile.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTextEdit>

// Exits with 0 only when the installed library works as its headers say.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ZkSkin skin;
    skin.init(&app, QStringLiteral("/nonexistent/"), QStringLiteral("Skins"),
              QStringLiteral("Plain"));
    QTextEdit edit(QStringLiteral("word"));
    ZkTextEditHelper helper;
    helper.setTextEditWidget(&edit);
    helper.m_boldAction->trigger();
    ZkXmlFile().load(QStringLiteral("/nonexistent.xml"));
    return zk::textFileCodec(QByteArray("\xFF\xFE")) == 3 && skin.m_menu->actions().size() == 1 &&
                   edit.toHtml().contains(QStringLiteral("font-weight:600"))
               ? 0
               : 1;
}
