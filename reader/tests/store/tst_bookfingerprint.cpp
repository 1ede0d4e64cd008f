#include "BookFingerprint.h"

#include <QtTest>

// A book is known by what it holds, not by its name.
class TestBookFingerprint : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void sameBookOrNot_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<bool>("same");
        QByteArray novel;
        for (int i = 0; novel.size() < 3 * 1024 * 1024; ++i)
            novel += "第" + QByteArray::number(i) + "行，天下大势，分久必合。\r\n";
        QByteArray oneByte = novel;
        oneByte[100] = 'x';
        QByteArray atTheEnd = novel;
        atTheEnd[atTheEnd.size() - 3] = 'x';
        QTest::newRow("a copy under another name") << novel << novel << true;
        QTest::newRow("a byte of its first page") << novel << oneByte << false;
        QTest::newRow("a byte of its last page") << novel << atTheEnd << false;
        QTest::newRow("one byte longer") << novel << novel + '\n' << false;
        QTest::newRow("short books") << QByteArray("甲乙") << QByteArray("甲丙") << false;
        QTest::newRow("empty ones") << QByteArray() << QByteArray() << true;
    }

    void sameBookOrNot()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, same);
        const QString a = BookFingerprint::of(write(QStringLiteral("a.txt"), first));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("moved")));
        const QString b = BookFingerprint::of(write(QStringLiteral("moved/b.txt"), second));
        QVERIFY(!a.isEmpty());
        QCOMPARE(a == b, same);
    }

    void unreadable()
    {
        QCOMPARE(BookFingerprint::of(m_dir.filePath(QStringLiteral("missing.txt"))), QString());
        QCOMPARE(BookFingerprint::of(m_dir.path()), QString());
    }
};

QTEST_GUILESS_MAIN(TestBookFingerprint)
#include "tst_bookfingerprint.moc"
