#include "TextDisplay.h"
#include "TextEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QtTest>

class TestTextEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_display.setTextWidget(&m_view);
        m_finder.setTextWidget(&m_view);
        m_finder.setFindEdit(&m_box);
        m_finder.setTextDisplay(&m_display);
        m_finder.setResultLabel(&m_answer);
    }

    void find_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("presses"); // n: find next, f: find previous, e: Enter in the box
        QTest::addColumn<QList<int>>("found"); // selection start after each press; -1 none
        QTest::addColumn<QString>("answer");   // beside the box after the last press
        // "Moon moon MOON moon" at 0, 5, 10, 15
        QTest::newRow("forwards matches case")
            << "moon" << 0 << "nnn" << QList<int>{5, 15, 15} << "已到达文末";
        QTest::newRow("forwards: capital not in small letters, no wrap")
            << "Moon" << 1 << "n" << QList<int>{-1} << "已到达文末";
        QTest::newRow("backwards ignores case")
            << "MOON" << 19 << "ffff" << QList<int>{15, 10, 5, 0} << "";
        QTest::newRow("no wrap at the start")
            << "moon" << 0 << "nff" << QList<int>{5, 0, 0} << "已到达文首";
        QTest::newRow("nowhere") << "sun" << 7 << "nf" << QList<int>{-1, -1} << "未找到";
        QTest::newRow("Enter finds next") << "moon" << 0 << "ee" << QList<int>{5, 15} << "";
        QTest::newRow("empty box") << "" << 7 << "nf" << QList<int>{-1, -1} << "";
    }

    void find()
    {
        QFETCH(QString, word);
        QFETCH(int, cursor);
        QFETCH(QString, presses);
        QFETCH(QList<int>, found);
        QFETCH(QString, answer);
        m_view.setPlainText(QStringLiteral("Moon moon MOON moon"));
        m_box.setText(word);
        QTextCursor start = m_view.textCursor();
        start.setPosition(cursor);
        m_view.setTextCursor(start);

        for (int i = 0; i < presses.size(); ++i) {
            const QChar press = presses.at(i);
            if (press == QLatin1Char('e'))
                QTest::keyClick(&m_box, Qt::Key_Return);
            else
                press == QLatin1Char('n') ? m_finder.findNext() : m_finder.findFront();
            const QTextCursor now = m_view.textCursor();
            QCOMPARE(now.hasSelection() ? now.selectionStart() : -1, found.at(i));
            if (!now.hasSelection())
                QCOMPARE(now.position(), cursor);
            QVERIFY(!now.hasSelection() || now.selectedText().toLower() == word.toLower());
        }
        QCOMPARE(m_answer.text(), answer);
        m_box.setText(word + QLatin1Char('x'));
        QVERIFY(m_answer.text().isEmpty());
    }

    // Far down a long text, the match stays selected with its line a third
    // of the way down the view, where the eye looks first.
    void matchInTopThird()
    {
        QString text;
        for (int i = 0; i < 3000; ++i)
            text += QStringLiteral("第%1行，天下大势。\n").arg(i);
        m_view.setPlainText(text);
        m_view.resize(400, 300);
        m_view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_view));
        m_box.setText(QStringLiteral("第2000行"));
        m_finder.findNext();

        QCOMPARE(m_view.textCursor().selectedText(), m_box.text());
        QTRY_VERIFY(qAbs(m_view.cursorRect().top() - m_view.viewport()->height() / 3) <= 1);
    }

private:
    QTextEdit m_view;
    QLineEdit m_box;
    QLabel m_answer;
    TextDisplay m_display;
    TextEdit m_finder;
};

QTEST_MAIN(TestTextEdit)
#include "tst_textedit.moc"
