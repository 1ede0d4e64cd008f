#include <ZkSkin.h>
#include <ZkTextEditHelper.h>
#include <ZkUtility.h>
#include <ZkXmlFile.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTextEdit>

#include <cstdio>

// Exits with 0 only when the installed library works as its headers say.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    const auto expect = [&failures](bool ok, const char *what) {
        if (!ok) {
            std::printf("failed: %s\n", what);
            ++failures;
        }
    };

    expect(zk::textFileCodec(QByteArray("\xFF\xFE")) == 3, "textFileCodec");

    ZkSkin skin;
    skin.init(&app, QStringLiteral("/nonexistent/"), QStringLiteral("Skins"),
              QStringLiteral("Plain"));
    expect(skin.m_menu->actions().size() == 1, "ZkSkin menu");

    QTextEdit edit;
    ZkTextEditHelper helper;
    helper.setTextEditWidget(&edit);
    edit.setPlainText(QStringLiteral("word"));
    helper.m_boldAction->trigger();
    expect(edit.toHtml().contains(QStringLiteral("font-weight:600")), "ZkTextEditHelper bold");

    ZkXmlFile file;
    file.load(QStringLiteral("/nonexistent.xml"));

    std::printf("consumer: %d failures\n", failures);
    return failures == 0 ? 0 : 1;
}
