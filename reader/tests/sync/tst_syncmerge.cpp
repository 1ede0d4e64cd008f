#include "SyncMerge.h"

#include <QtTest>

Q_DECLARE_METATYPE(SyncRecord)

namespace
{

const QString Conflict = QStringLiteral("另一台电脑上的位置");

ChangeStamp at(qint64 time, const char *machine = "B")
{
    return {time, QString::fromLatin1(machine)};
}

// "a@10" a bookmark, "-a@10" a removal; the number after ~ its time:
// "a@10~5". Choices: "key=value".
SyncRecord book(int position, ChangeStamp stamp, const QStringList &bookmarks = {},
                const QStringList &choices = {}, ChangeStamp choicesStamp = {})
{
    SyncRecord record;
    record.fingerprint = QStringLiteral("f");
    record.position = {position, stamp};
    for (QString text : bookmarks) {
        const bool removed = text.startsWith('-');
        text.remove(0, removed ? 1 : 0);
        const QStringList parts = text.split(QRegularExpression(QStringLiteral("[@~]")));
        record.bookmarks.append(
            {parts.at(0), parts.at(1), at(parts.value(2).toLongLong()), removed});
    }
    SyncRecord::sortBookmarks(record.bookmarks);
    for (const QString &choice : choices)
        record.choices.insert(choice.section('=', 0, 0), choice.section('=', 1));
    record.choicesStamp = choicesStamp;
    return record;
}

QString describeBookmarks(const SyncRecord &record)
{
    QStringList list;
    for (const SyncRecord::Bookmark &bookmark : record.bookmarks)
        list << (bookmark.removed ? "-" : "") + bookmark.title + '@' + bookmark.at;
    return list.join(' ');
}

QString describeChoices(const SyncRecord &record)
{
    QStringList list;
    for (auto choice = record.choices.cbegin(); choice != record.choices.cend(); ++choice)
        list << choice.key() + '=' + choice.value();
    return list.join(' ');
}

} // namespace

class TestSyncMerge : public QObject
{
    Q_OBJECT

private slots:
    void merges_data();
    void merges();
    void recordSurvivesTheServer();
};

void TestSyncMerge::merges_data()
{
    QTest::addColumn<SyncRecord>("agreed");
    QTest::addColumn<SyncRecord>("local");
    QTest::addColumn<SyncRecord>("remote");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("bookmarks");
    QTest::addColumn<QString>("choices");

    const SyncRecord agreed = book(100, at(10));
    QTest::newRow("nothing changed") << agreed << agreed << agreed << 100 << ""
                                     << "";
    QTest::newRow("position changed here only")
        << agreed << book(500, at(20, "A")) << agreed << 500 << ""
        << "";
    QTest::newRow("position changed there only")
        << agreed << agreed << book(800, at(20)) << 800 << ""
        << "";
    QTest::newRow("first sync, never read here: the server's is taken")
        << SyncRecord() << book(0, {}) << book(800, at(20)) << 800 << ""
        << "";
    QTest::newRow("first sync, read on both: the later wins, the other is kept")
        << SyncRecord() << book(300, at(30, "A")) << book(800, at(20)) << 300 << Conflict + "@800"
        << "";
    QTest::newRow("both changed, there later: theirs wins, ours kept as a bookmark")
        << agreed << book(500, at(20, "A")) << book(800, at(30)) << 800 << Conflict + "@500"
        << "";
    QTest::newRow("re-reading from the start here, later: the start wins")
        << book(9000, at(10)) << book(0, at(40, "A")) << book(9500, at(30)) << 0
        << Conflict + "@9500"
        << "";
    QTest::newRow("both moved to the same place: no bookmark")
        << agreed << book(700, at(20, "A")) << book(700, at(30)) << 700 << ""
        << "";
    QTest::newRow("the same millisecond: the machine decides, alike on both")
        << agreed << book(500, at(20, "A")) << book(800, at(20, "B")) << 800 << Conflict + "@500"
        << "";
    QTest::newRow("the server lost our last write to an older one: ours stays, theirs kept")
        << book(900, at(50, "A")) << book(900, at(50, "A")) << book(400, at(40)) << 900
        << Conflict + "@400"
        << "";

    QTest::newRow("bookmarks added on both sides: both kept")
        << agreed << book(100, at(10), {"a@10~11"}) << book(100, at(10), {"b@20~12"}) << 100
        << "a@10 b@20"
        << "";
    QTest::newRow("removed here: the removal travels")
        << agreed << book(100, at(10), {"-a@10~15"}) << book(100, at(10), {"a@10~11"}) << 100
        << "-a@10"
        << "";
    QTest::newRow("removed there: removed here too")
        << agreed << book(100, at(10), {"a@10~11", "b@20~11"})
        << book(100, at(10), {"-a@10~15", "b@20~11"}) << 100 << "-a@10 b@20"
        << "";
    QTest::newRow("added again after a removal elsewhere: there again")
        << agreed << book(100, at(10), {"a@10~20"}) << book(100, at(10), {"-a@10~15"}) << 100
        << "a@10"
        << "";
    QTest::newRow("a bookmark from before stamps meets its removal: removed")
        << agreed << book(100, at(10), {"a@10~0"}) << book(100, at(10), {"-a@10~5"}) << 100
        << "-a@10"
        << "";

    const SyncRecord chosen = book(100, at(10), {}, {"rule=第X章", "script=简体"}, at(5));
    QTest::newRow("choices changed on each side, other keys: both taken")
        << chosen << book(100, at(10), {}, {"rule=卷X", "script=简体"}, at(20, "A"))
        << book(100, at(10), {}, {"rule=第X章", "script=繁體"}, at(30)) << 100 << ""
        << "rule=卷X script=繁體";
    QTest::newRow("the same choice changed on both: the later side wins")
        << chosen << book(100, at(10), {}, {"rule=卷X", "script=简体"}, at(40, "A"))
        << book(100, at(10), {}, {"rule=节X", "script=简体"}, at(30)) << 100 << ""
        << "rule=卷X script=简体";
    QTest::newRow("a choice forgotten there: forgotten here")
        << chosen << chosen << book(100, at(10), {}, {"script=简体"}, at(30)) << 100 << ""
        << "script=简体";
    QTest::newRow("a choice of a new feature, made elsewhere: arrives")
        << chosen << chosen
        << book(100, at(10), {}, {"rule=第X章", "script=简体", "paragraphs=merge"}, at(30)) << 100
        << ""
        << "paragraphs=merge rule=第X章 script=简体";
}

// A merge done on either machine comes out the same, so the two agree.
void TestSyncMerge::merges()
{
    QFETCH(SyncRecord, agreed);
    QFETCH(SyncRecord, local);
    QFETCH(SyncRecord, remote);
    QFETCH(int, position);
    QFETCH(QString, bookmarks);
    QFETCH(QString, choices);

    const SyncRecord merged = SyncMerge::merge(agreed, local, remote, Conflict);
    QCOMPARE(merged.position.at, position);
    QCOMPARE(describeBookmarks(merged), bookmarks);
    QCOMPARE(describeChoices(merged), choices);

    // Unless the server lost a write, the other machine agreed on the same
    // state and comes to the same result.
    if (!agreed.position.stamp.isLaterThan(remote.position.stamp)) {
        const SyncRecord mirrored = SyncMerge::merge(agreed, remote, local, Conflict);
        QCOMPARE(mirrored.position, merged.position);
        QCOMPARE(describeBookmarks(mirrored), bookmarks);
    }
    // The merged record is what the server holds next: merging it again
    // changes nothing.
    QVERIFY(SyncMerge::merge(merged, merged, merged, Conflict) == merged);
}

void TestSyncMerge::recordSurvivesTheServer()
{
    SyncRecord record = book(1234, at(99, "机器"), {"第一章 <&>\"@10~3", "-b@x~4"},
                             {"rule=^第.+章$", "script=繁體"}, at(7));
    record.title = QStringLiteral("三体 & 续.txt");
    SyncRecord read;
    QCOMPARE(SyncRecord::fromXml(record.toXml(), &read), SyncRecord::Reading::Whole);
    QVERIFY(read == record);
    QCOMPARE(read.title, record.title);

    QByteArray newer = record.toXml();
    newer.replace("version=\"1\"", "version=\"2\"");
    QCOMPARE(SyncRecord::fromXml(newer, &read), SyncRecord::Reading::Newer);
    QCOMPARE(SyncRecord::fromXml(record.toXml().left(120), &read), SyncRecord::Reading::Damaged);
    QCOMPARE(SyncRecord::fromXml("<html>503</html>", &read), SyncRecord::Reading::Damaged);
}

QTEST_GUILESS_MAIN(TestSyncMerge)
#include "tst_syncmerge.moc"
