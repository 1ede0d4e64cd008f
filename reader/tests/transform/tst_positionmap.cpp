#include "TracedText.h"

#include <QRandomGenerator>
#include <QtTest>

// Random edits of a text, traced; the map they make must hold at every
// character. A reference keeps, for every character of the edited text,
// the file position it came from (-1 inserted), the plain way.
class TestPositionMap : public QObject
{
    Q_OBJECT

private slots:
    void randomEdits_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 40; ++seed)
            QTest::newRow(qPrintable(QString::number(seed))) << seed;
    }

    void randomEdits()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const int size = random.bounded(0, 300);
        const int fileStart = random.bounded(0, 50);
        QString file;
        for (int i = 0; i < size; ++i)
            file += QChar(0x4E00 + random.bounded(0, 40));
        TracedText text(file, fileStart);
        QVector<int> origins(size);
        std::iota(origins.begin(), origins.end(), fileStart);

        // in rounds, as the steps of a transform do, each its edits in order
        for (int round = random.bounded(1, 4); round > 0; --round) {
            QVector<TracedText::Edit> edits;
            QVector<int> edited;
            int from = 0;
            while (from < text.size() && edits.size() < 12) {
                const int at = from + random.bounded(0, qMax(1, (text.size() - from) / 3));
                if (at > text.size())
                    break;
                const int length = qMin(text.size() - at, random.bounded(0, 6));
                const QString inserted(random.bounded(0, 4), QLatin1Char('x'));
                edits.append({at, length, inserted});
                edited += origins.mid(from, at - from) + QVector<int>(inserted.size(), -1);
                from = at + length;
            }
            edited += origins.mid(from);
            text.apply(edits);
            origins = edited;
        }
        const int fileEnd = fileStart + size;
        // cut where the transform holds text back for the next stretch, and
        // joined again as it is when that stretch comes
        const int cut = random.bounded(0, text.size() + 1);
        TracedText tail = text.split(cut, fileEnd);
        const auto kept = std::find_if(origins.begin() + cut, origins.end(),
                                       [](int origin) { return origin >= 0; });
        QCOMPARE(tail.fileStart(), kept == origins.end() ? fileEnd : *kept);
        QCOMPARE(text.size() + tail.size(), origins.size());
        text.append(tail);
        // the stretch as part of a text whose first fileStart characters
        // stand before it, untouched
        PositionMap map;
        map.append(text.changes(fileEnd), 0, fileStart);
        QCOMPARE(text.size(), origins.size());

        QVector<int> shownOf(size, -1); // of each file character kept
        for (int s = 0; s < origins.size(); ++s) {
            if (origins[s] >= 0)
                shownOf[origins[s] - fileStart] = s;
        }
        for (int s = 0; s < origins.size(); ++s) {
            if (origins[s] < 0)
                continue;
            // file -> shown -> file is the identity at every kept character
            QCOMPARE(map.toFile(fileStart + s), origins[s]);
            QCOMPARE(map.toShown(origins[s]), fileStart + s);
        }
        for (int f = 0; f < size; ++f) {
            if (shownOf[f] >= 0)
                continue;
            // a removed character shows where the next kept one does, or
            // within what was put in its place
            int next = f + 1;
            while (next < size && shownOf[next] < 0)
                ++next;
            const int nextShown = next < size ? shownOf[next] : origins.size();
            int previousShown = -1;
            for (int p = f - 1; p >= 0 && previousShown < 0; --p)
                previousShown = shownOf[p];
            const int shown = map.toShown(fileStart + f) - fileStart;
            QVERIFY2(shown > previousShown && shown <= nextShown,
                     qPrintable(QStringLiteral("%1 -> %2, not in (%3, %4]")
                                    .arg(f)
                                    .arg(shown)
                                    .arg(previousShown)
                                    .arg(nextShown)));
            if (nextShown == previousShown + 1) // nothing put in its place
                QCOMPARE(shown, nextShown);
        }
        // a few bytes per change, never more than one change a character
        QVERIFY(map.changeCount() <= size + origins.size());
    }
};

QTEST_GUILESS_MAIN(TestPositionMap)
#include "tst_positionmap.moc"
