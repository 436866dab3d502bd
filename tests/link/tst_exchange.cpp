#include "link/exchange.h"
#include "support/testrig.h"

#include <QTest>

using namespace kvl;
using namespace kvl::test;

class ExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void silentLoggerResendsAndGivesUp();
};

void ExchangeTest::silentLoggerResendsAndGivesUp()
{
    TestRig rig;
    rig.port.open();
    Exchange e = Exchange::forKeywords(QStringLiteral("#T01 R"), {QStringLiteral("READ")}, 50, 20);
    QVERIFY(!runExchange(rig.session, e));
    QCOMPARE(rig.port.writeCount("#T01 R"), 2);
    QCOMPARE(rig.session.Time_Out, 51);
}

QTEST_GUILESS_MAIN(ExchangeTest)
#include "tst_exchange.moc"
