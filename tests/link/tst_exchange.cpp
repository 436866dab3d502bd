// The command exchange on virtual time: resend and give-up counting, what ends the wait,
// the result test after a give-up or a stop, clearing Buff, case-sensitive keywords, the
// status panels and the log window's TX entries, and a write on a closed port.

#include "app/errorlog.h"
#include "link/exchange.h"
#include "support/testrig.h"

#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

const QByteArray Command("#T01 R");

ScriptedPort::Reply replyAfter(qint64 latencyMs, const QByteArray &bytes) { return {bytes, latencyMs, 0}; }

} // namespace

class ExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void resendAndGiveUp_data();
    void resendAndGiveUp();
    void waitEnds_data();
    void waitEnds();
    void onlyLastCompletedLineIsSeen();
    void clearBeforeAndAfter_data();
    void clearBeforeAndAfter();
    void keywordCase_data();
    void keywordCase();
    void panelsAndTxLog();
    void closedPortRaises();
};

void ExchangeTest::resendAndGiveUp_data()
{
    QTest::addColumn<int>("resendAfter");
    QTest::addColumn<int>("giveUpAfter");
    QTest::addColumn<int>("polls");
    QTest::addColumn<int>("resendAtPoll"); // polls done when the resend went out; -1 none

    QTest::newRow("resend 20, give up 50") << 20 << 50 << 51 << 21;
    QTest::newRow("no resend, give up 50") << -1 << 50 << 51 << -1;
    QTest::newRow("resend 10, give up 20") << 10 << 20 << 21 << 11;
    QTest::newRow("resend due as the wait gives up") << 50 << 50 << 51 << 51;
    QTest::newRow("give up 0") << -1 << 0 << 1 << -1;
}

void ExchangeTest::resendAndGiveUp()
{
    QFETCH(int, resendAfter);
    QFETCH(int, giveUpAfter);
    QFETCH(int, polls);
    QFETCH(int, resendAtPoll);

    TestRig rig;
    QVERIFY(rig.port.open());
    int seenAtResend = -1;
    rig.clock.onDelay([&](int) {
        if (seenAtResend < 0 && rig.port.writes().size() == 2)
            seenAtResend = rig.session.Time_Out;
    });
    Exchange e = Exchange::forKeywords(QString::fromLatin1(Command), {QStringLiteral("READ")}, giveUpAfter, resendAfter);
    QVERIFY(!runExchange(rig.session, e));

    if (seenAtResend < 0 && rig.port.writes().size() == 2)
        seenAtResend = rig.session.Time_Out; // sent after the last poll
    QCOMPARE(rig.session.Time_Out, polls);
    QCOMPARE(rig.clock.tickMs(), qint64(polls) * 100);
    QCOMPARE(rig.port.writeCount(Command), resendAtPoll < 0 ? 1 : 2);
    QCOMPARE(seenAtResend, resendAtPoll);
    QCOMPARE(rig.hooks.panels.value(2), QStringLiteral("Try Connect %1[100msec]").arg(polls));
}

void ExchangeTest::waitEnds_data()
{
    QTest::addColumn<qint64>("replyLatency"); // -1: silence
    QTest::addColumn<QString>("doneKeyword");
    QTest::addColumn<int>("stopAtDelay");     // the Stop pressed during this wait; 0 never
    QTest::addColumn<int>("polls");
    QTest::addColumn<bool>("result");

    // The result test is "OK" throughout; the done test differs so the two can be told apart.
    QTest::newRow("reply ends the wait") << qint64(350) << QStringLiteral("OK") << 0 << 4 << true;
    QTest::newRow("reply in the last poll counts after a give-up")
        << qint64(5050) << QStringLiteral("END") << 0 << 51 << true;
    QTest::newRow("reply too late") << qint64(5150) << QStringLiteral("END") << 0 << 51 << false;
    QTest::newRow("stop ends at the next poll, result still tested")
        << qint64(250) << QStringLiteral("END") << 7 << 7 << true;
    QTest::newRow("stop without a reply") << qint64(-1) << QStringLiteral("OK") << 3 << 3 << false;
}

void ExchangeTest::waitEnds()
{
    QFETCH(qint64, replyLatency);
    QFETCH(QString, doneKeyword);
    QFETCH(int, stopAtDelay);
    QFETCH(int, polls);
    QFETCH(bool, result);

    TestRig rig;
    QVERIFY(rig.port.open());
    if (replyLatency >= 0)
        rig.port.script(Command, {replyAfter(replyLatency, "OK\r\n")});
    rig.clock.onDelay([&](int n) {
        if (n == stopAtDelay)
            rig.session.Stop_flg(); // a Stop click handled during the wait
    });
    Exchange e = Exchange::forKeywords(QString::fromLatin1(Command), {doneKeyword}, 50);
    e.resultTest = keywordTest({QStringLiteral("OK")});
    QCOMPARE(runExchange(rig.session, e), result);
    QCOMPARE(rig.session.Time_Out, polls);
    if (stopAtDelay > 0)
        QCOMPARE(rig.clock.tickMs(), qint64(stopAtDelay - 1) * 100); // the stopped wait took no time
}

void ExchangeTest::onlyLastCompletedLineIsSeen()
{
    TestRig rig;
    QVERIFY(rig.port.open());
    rig.port.script(Command, {replyAfter(150, "OK\r\nBUSY\r\n")});
    Exchange e = Exchange::forKeywords(QString::fromLatin1(Command), {QStringLiteral("OK")}, 5);
    QVERIFY(!runExchange(rig.session, e));
    QCOMPARE(rig.session.Buff, QStringLiteral("BUSY"));
    QCOMPARE(rig.session.Time_Out, 6);
}

void ExchangeTest::clearBeforeAndAfter_data()
{
    QTest::addColumn<bool>("clearBefore");
    QTest::addColumn<bool>("clearAfter");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("polls");
    QTest::addColumn<QString>("buffAfter");

    const QString stale = QStringLiteral("OLD OK");
    QTest::newRow("cleared before: the old line is not taken") << true << false << false << 4 << QString();
    QTest::newRow("kept: the old line passes at the first poll") << false << false << true << 1 << stale;
    QTest::newRow("cleared after") << false << true << true << 1 << QString();
}

void ExchangeTest::clearBeforeAndAfter()
{
    QFETCH(bool, clearBefore);
    QFETCH(bool, clearAfter);
    QFETCH(bool, result);
    QFETCH(int, polls);
    QFETCH(QString, buffAfter);

    TestRig rig;
    QVERIFY(rig.port.open());
    rig.session.Buff = QStringLiteral("OLD OK");
    Exchange e = Exchange::forKeywords(QString::fromLatin1(Command), {QStringLiteral("OK")}, 3);
    e.clearBefore = clearBefore;
    e.clearAfter = clearAfter;
    QCOMPARE(runExchange(rig.session, e), result);
    QCOMPARE(rig.session.Time_Out, polls);
    QCOMPARE(rig.session.Buff, buffAfter);
}

void ExchangeTest::keywordCase_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("result");
    QTest::newRow("upper-cased Buff finds OK") << QByteArray("ok\r") << QStringLiteral("OK") << false << true;
    QTest::newRow("case-sensitive misses ok") << QByteArray("ok\r") << QStringLiteral("OK") << true << false;
    QTest::newRow("case-sensitive register reply") << QByteArray("[0x10] 1a\r") << QStringLiteral("[0x10]") << true << true;
    QTest::newRow("lower-case keyword never matches upper-cased Buff")
        << QByteArray("[0x10] 1a\r") << QStringLiteral("[0x10] 1a") << false << false;
}

void ExchangeTest::keywordCase()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, keyword);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, result);
    TestRig rig;
    QVERIFY(rig.port.open());
    rig.port.script(Command, {replyAfter(50, reply)});
    const Exchange e = Exchange::forKeywords(QString::fromLatin1(Command), {keyword}, 3, -1, caseSensitive);
    QCOMPARE(runExchange(rig.session, e), result);
}

void ExchangeTest::panelsAndTxLog()
{
    TestRig rig;
    QVERIFY(rig.port.open());
    rig.port.script(Command, {replyAfter(0, {}), replyAfter(300, "Time Read 08/05/12 10:30:08\r")});
    Exchange e = Exchange::forKeywords(QString::fromLatin1(Command), {QStringLiteral("READ")}, 50, 20);
    e.labelPrefix = QStringLiteral("Time Read ");
    e.labelSuffix = QStringLiteral("/50");
    QVERIFY(runExchange(rig.session, e));

    QCOMPARE(rig.port.writes(), (QByteArrayList{"#T01 R\r\n", "#T01 R\r\n"}));
    QCOMPARE(rig.hooks.panels.value(3), QStringLiteral("#T01 R"));
    QCOMPARE(rig.hooks.tx, (QStringList{QStringLiteral("2024-05-12 10:30:05: #T01 R"),
                                        QStringLiteral("2024-05-12 10:30:07: #T01 R")}));
    QStringList labels;
    for (const auto &[panel, text] : rig.hooks.statusWrites)
        if (panel == 2)
            labels << text;
    QCOMPARE(labels.size(), 24); // 21 polls, the resend, 3 more polls until the reply
    QCOMPARE(labels.first(), QStringLiteral("Time Read 1/50"));
    QCOMPARE(labels.last(), QStringLiteral("Time Read 24/50"));
    QCOMPARE(rig.session.Buff, QStringLiteral("Time Read 24/05/12 10:30:08"));

    // Without line end, panel 3 and the TX log: only the bytes go out.
    TestRig quiet;
    QVERIFY(quiet.port.open());
    Exchange q = Exchange::forKeywords(QStringLiteral("+++"), {QStringLiteral("OK")}, 1);
    q.lineEnd.clear();
    q.showCommand = false;
    q.txLog = false;
    QVERIFY(!runExchange(quiet.session, q));
    QCOMPARE(quiet.port.writes(), QByteArrayList{"+++"});
    QVERIFY(!quiet.hooks.panels.contains(3));
    QVERIFY(quiet.hooks.tx.isEmpty());
}

void ExchangeTest::closedPortRaises()
{
    TestRig rig;
    const Exchange e = Exchange::forKeywords(QString::fromLatin1(Command), {QStringLiteral("OK")}, 5);
    QVERIFY_THROWS_EXCEPTION(PlatformError, runExchange(rig.session, e));
    QVERIFY(rig.port.writes().isEmpty());
    QCOMPARE(rig.clock.delayCount(), 0);

    rig.session.ComPort = nullptr; // no port at all
    QVERIFY_THROWS_EXCEPTION(PlatformError, runExchange(rig.session, e));
}

QTEST_GUILESS_MAIN(ExchangeTest)
#include "tst_exchange.moc"
