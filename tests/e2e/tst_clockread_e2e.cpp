// The command exchange against loggersim over a real pseudo-terminal, in real time: the
// port is found through ComPorts.ini, opened with QSerialPort, and the reply goes through
// the real receive framing into the receive view.

#include "app/session.h"
#include "e2e/loggersimprocess.h"
#include "link/exchange.h"
#include "link/qtserialport.h"
#include "link/seriallink.h"
#include "support/recordinghooks.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvl;
using namespace kvl::test;

namespace {

// The PC side as the program builds it: a session on the real clock, the real port and
// link, recording hooks for the views, panels and the log window.
struct PcSide {
    RecordingHooks hooks;
    Session session;
    QtSerialPort port;
    SerialLink link{session, port};

    explicit PcSide(const QString &home)
    {
        session.ProgramFolder = home;
        session.setStatusPanels(&hooks);
        session.setDialogs(&hooks);
        session.setLineSinks(&hooks);
        session.attachTrafficLog(&hooks);
        session.refreshNowYear();
        session.Selected_index = 0; // the connection test's open wants a selected device
    }

    bool open(int comNumber)
    {
        link.COMPortSetting(comNumber, QStringLiteral("115200"), QStringLiteral("None"), QStringLiteral("1"));
        link.ComPortOpen();
        return port.isOpen() && session.Result;
    }
};

Exchange clockRead(const QString &command = QStringLiteral("#T01 R"))
{
    Exchange e = Exchange::forKeywords(command, {QStringLiteral("READ")}, 50, 20);
    e.clearAfter = true;
    return e;
}

} // namespace

class ClockReadE2E : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void clockReadRewritesTheYear_data();
    void clockReadRewritesTheYear();
    void lineSurvivesClosingAndReopening();
    void loggerAnswers_data();
    void loggerAnswers();
    void silentLoggerGetsOneResendThenGivesUp();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<LoggerSimProcess> m_sim;
};

void ClockReadE2E::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_sim = std::make_unique<LoggerSimProcess>(m_home->path());
}

void ClockReadE2E::cleanup()
{
    m_sim.reset(); // terminates the simulator
    m_home.reset();
}

void ClockReadE2E::clockReadRewritesTheYear_data()
{
    QTest::addColumn<QByteArray>("scenario");
    QTest::addColumn<bool>("rewritten");
    QTest::newRow("logger reports 08") << QByteArray() << true;
    QTest::newRow("any other year stays") << QByteArray("year=09\n") << false;
}

void ClockReadE2E::clockReadRewritesTheYear()
{
    QFETCH(QByteArray, scenario);
    QFETCH(bool, rewritten);
    if (!scenario.isEmpty())
        m_sim->setScenario(scenario);
    QVERIFY2(m_sim->start(7), qPrintable(m_sim->error()));

    PcSide pc(m_home->path());
    QVERIFY2(pc.session.NowYear != u"08" && pc.session.NowYear != u"09",
             "the PC year must differ from the logger's for this test to mean anything");
    QVERIFY2(pc.open(7), qPrintable(pc.port.errorString()));
    QCOMPARE(pc.port.portName(), m_sim->ptyPath()); // COM7 resolved through ComPorts.ini

    QVERIFY(runExchange(pc.session, clockRead()));
    QVERIFY(pc.session.Buff.isEmpty()); // clear after

    const QStringList view = pc.hooks.views.value(0);
    QCOMPARE(view.size(), 1);
    const QString line = view.first();
    static const QRegularExpression shape(QStringLiteral("^Time Read \\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    QVERIFY2(shape.match(line).hasMatch(), qPrintable(line));
    QCOMPARE(line.mid(10, 2), rewritten ? pc.session.NowYear : QStringLiteral("09"));

    QCOMPARE(m_sim->received(QStringLiteral("#T01 R")), 1);
    QCOMPARE(m_sim->receivedLines().size(), 1);
    QCOMPARE(pc.hooks.tx.size(), 1);
}

// The program closes its port and opens it again (the connection test does): the line
// and the simulator are still there and answer.
void ClockReadE2E::lineSurvivesClosingAndReopening()
{
    QVERIFY2(m_sim->start(7), qPrintable(m_sim->error()));
    PcSide pc(m_home->path());
    QVERIFY(pc.open(7));
    QVERIFY(runExchange(pc.session, clockRead()));
    pc.link.ComPortClose();
    QVERIFY(!pc.port.isOpen());
    QVERIFY(pc.open(7));
    QVERIFY(runExchange(pc.session, clockRead()));
    QCOMPARE(m_sim->received(QStringLiteral("#T01 R")), 2);
    QCOMPARE(m_sim->process().state(), QProcess::Running);
}

void ClockReadE2E::loggerAnswers_data()
{
    QTest::addColumn<QByteArray>("scenario");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("answered");
    QTest::newRow("terminal open") << QByteArray() << QStringLiteral("#M01 T O") << QStringLiteral("Terminal") << true << true;
    QTest::newRow("terminal close") << QByteArray() << QStringLiteral("#M01 T C") << QStringLiteral("UNC") << false << true;
    QTest::newRow("one-character logger number") << QByteArray() << QStringLiteral("#T1 R") << QStringLiteral("READ") << false << true;
    QTest::newRow("own logger number") << QByteArray("logid=02\n") << QStringLiteral("#T02 R") << QStringLiteral("READ") << false << true;
    QTest::newRow("other logger number") << QByteArray("logid=02\n") << QStringLiteral("#T01 R") << QStringLiteral("READ") << false << false;
    QTest::newRow("unknown command") << QByteArray() << QStringLiteral("#X01") << QStringLiteral("ERROR") << false << true;
}

void ClockReadE2E::loggerAnswers()
{
    QFETCH(QByteArray, scenario);
    QFETCH(QString, command);
    QFETCH(QString, keyword);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, answered);
    if (!scenario.isEmpty())
        m_sim->setScenario(scenario);
    QVERIFY2(m_sim->start(7), qPrintable(m_sim->error()));
    PcSide pc(m_home->path());
    QVERIFY(pc.open(7));

    Exchange e = Exchange::forKeywords(command, {keyword}, 5, -1, caseSensitive);
    QCOMPARE(runExchange(pc.session, e), answered);
    QCOMPARE(m_sim->receivedLines(), QStringList{command});
}

// A logger that never answers: the command goes out a second time once the poll count
// passes the resend count, and the exchange gives up with false.
void ClockReadE2E::silentLoggerGetsOneResendThenGivesUp()
{
    m_sim->setScenario("silent=1\n");
    QVERIFY2(m_sim->start(7), qPrintable(m_sim->error()));
    PcSide pc(m_home->path());
    QVERIFY(pc.open(7));

    Exchange e = clockRead();
    e.resendAfter = 2;
    e.giveUpAfter = 5;
    QVERIFY(!runExchange(pc.session, e));
    QCOMPARE(pc.session.Time_Out, 6);
    QCOMPARE(pc.hooks.tx.size(), 2);
    QTRY_COMPARE(m_sim->received(QStringLiteral("#T01 R")), 2);
    QTRY_COMPARE(m_sim->counts().value(QStringLiteral("time-read")), 2);
    QVERIFY(pc.hooks.views.value(0).isEmpty());
}

QTEST_GUILESS_MAIN(ClockReadE2E)
#include "tst_clockread_e2e.moc"
