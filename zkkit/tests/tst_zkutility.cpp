#include <QtTest>
class TestZkUtility : public QObject { Q_OBJECT private slots: void t() {} };
QTEST_MAIN(TestZkUtility)
#include "tst_zkutility.moc"
