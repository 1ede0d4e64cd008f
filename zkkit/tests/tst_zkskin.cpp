#include "ZkSkin.h"

#include <QtTest>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>

#include <memory>

namespace
{

const QString Plain = QStringLiteral("原样");
const QByteArray NightSheet = "QWidget { color: #112233; } /* 夜 */";

QStringList entryTexts(const ZkSkin &skin)
{
    QStringList texts;
    for (const QAction *action : skin.m_menu->actions())
        texts << action->text();
    return texts;
}

QString checkedEntry(const ZkSkin &skin)
{
    const QAction *checked = skin.m_group->checkedAction();
    return checked != nullptr ? checked->text() : QStringLiteral("<none>");
}

} // namespace

class TestZkSkin : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_work;
    QString m_skinDir;

    void writeFile(const QString &path, const QByteArray &data)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
    }

    // A real skin file made by the resource compiler; resourceName is the
    // sheet's name under ":/zk_skin/".
    void makeSkin(const QString &fileName, const QByteArray &sheet,
                  const QString &resourceName = QStringLiteral("skin.qss"))
    {
        const QString qss = m_work->filePath(fileName + QStringLiteral(".qss"));
        const QString qrc = m_work->filePath(fileName + QStringLiteral(".qrc"));
        writeFile(qss, sheet);
        writeFile(qrc, QStringLiteral("<RCC><qresource prefix=\"/zk_skin\"><file alias=\"%1\">%2"
                                      "</file></qresource></RCC>")
                           .arg(resourceName, qss)
                           .toUtf8());
        const QStringList arguments = {QStringLiteral("--binary"), QStringLiteral("-o"),
                                       m_skinDir + fileName, qrc};
        QCOMPARE(QProcess::execute(QStringLiteral(ZKKIT_RCC), arguments), 0);
    }

private slots:
    void init()
    {
        m_work = std::make_unique<QTemporaryDir>();
        m_skinDir = m_work->filePath(QStringLiteral("skins")) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(m_skinDir));
    }

    void switching_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("checked");
        // clang-format off
        QTest::newRow("the same skin again") << "night" << QString::fromUtf8(NightSheet) << "night";
        QTest::newRow("zero byte ends the sheet") << "cut" << "QLabel { color: red; }" << "cut";
        QTest::newRow("no style sheet inside") << "bare" << QString() << "bare";
        QTest::newRow("not a resource file") << "broken" << QString() << Plain;
        QTest::newRow("second dot, no such path") << "blue" << QString() << Plain;
        QTest::newRow("plain look") << Plain << QString() << Plain;
        QTest::newRow("file without an entry") << "late" << "QLabel {}" << "night";
        // clang-format on
    }

    // The menu lists the skins found at start. Every switch starts from the
    // night skin, so a sheet left over from it would show that the previous
    // file was not unregistered, and a file registered twice would outlive
    // the final return to the plain look.
    void switching()
    {
        QFETCH(QString, choice);
        QFETCH(QString, sheet);
        QFETCH(QString, checked);
        makeSkin(QStringLiteral("night.skin"), NightSheet);
        makeSkin(QStringLiteral("cut.skin"), QByteArray("QLabel { color: red; }\0QLabel {}", 32));
        makeSkin(QStringLiteral("bare.skin"), NightSheet, QStringLiteral("other.qss"));
        makeSkin(QStringLiteral("blue.v2.skin"), NightSheet);
        writeFile(m_skinDir + QStringLiteral("broken.skin"), NightSheet);
        writeFile(m_skinDir + QStringLiteral("Zed.skin"), "not read until chosen");
        writeFile(m_skinDir + QStringLiteral("notes.txt"), "no skin");
        QVERIFY(QDir().mkpath(m_skinDir + QStringLiteral("folder.skin")));

        ZkSkin skin;
        QSignalSpy changes(&skin, &ZkSkin::skinChange);
        // a folder given without its final separator works all the same
        skin.init(qApp, m_skinDir.chopped(1), QStringLiteral("皮肤"), Plain);
        // case-sensitive order, names up to the first dot, only files
        QCOMPARE(entryTexts(skin),
                 (QStringList{Plain, "Zed", "bare", "blue", "broken", "cut", "night"}));
        QCOMPARE(checkedEntry(skin), Plain);
        QVERIFY(changes.count() == 1 && changes.takeFirst().at(0).toString().isNull());
        makeSkin(QStringLiteral("late.skin"), "QLabel {}");
        skin.setSkinName(QStringLiteral("night"));
        changes.clear();
        const int index = entryTexts(skin).indexOf(choice);
        index < 0 ? skin.setSkinName(choice) : skin.m_menu->actions().at(index)->trigger();

        const QString name = choice == Plain ? QString() : choice;
        QCOMPARE(qApp->styleSheet(), sheet);
        QCOMPARE(checkedEntry(skin), checked);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).toString(), name);
        skin.setSkinName(QString());
        QVERIFY(!QFile::exists(QStringLiteral(":/zk_skin/skin.qss")));
    }

    // The skins the build ships carry their style sheet sources unchanged.
    void shippedSkins()
    {
        ZkSkin skin;
        skin.init(qApp, QStringLiteral(ZKKIT_SKIN_DIR "/"), QStringLiteral("皮肤"), Plain);
        QCOMPARE(entryTexts(skin), (QStringList{Plain, "night", "paper"}));
        for (const QString &name : entryTexts(skin).mid(1)) {
            QFile source(QStringLiteral(ZKKIT_SKIN_SOURCE_DIR "/") + name + QStringLiteral(".qss"));
            QVERIFY(source.open(QIODevice::ReadOnly));
            skin.setSkinName(name);
            QCOMPARE(qApp->styleSheet(), QString::fromUtf8(source.readAll()));
        }
        skin.setSkinName(QString());
    }
};

QTEST_MAIN(TestZkSkin)
#include "tst_zkskin.moc"
