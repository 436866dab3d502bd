// Connecting, the clock commands and hanging up, run by kvl520cli against loggersim over
// a real pseudo-terminal: directly, and through the simulated modems with their
// initialisation, dial, escape and failure modes. Checked by the console's output and by
// the lines the simulator received.

#include "e2e/clisimfixture.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvl;
using namespace kvl::test;

namespace {

const QString Connected = QStringLiteral("message: Sucess - Logger is Connected");
const QString Disconnected = QStringLiteral("message: Logger is Disconnected");

QStringList ops(const char *line)
{
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class ConnectionE2E : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void directClockReadSetAndReset();
    void modemConnectAndHangUp_data();
    void modemConnectAndHangUp();
    void failedDialLeavesTheLoggerUnconnected_data();
    void failedDialLeavesTheLoggerUnconnected();
    void lostCarrierEndsTheLink();

private:
    QString home() const { return m_home->path(); }
    bool startSim(const QByteArray &scenario)
    {
        if (!scenario.isEmpty())
            m_sim->setScenario(scenario);
        return m_sim->start(7);
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<LoggerSimProcess> m_sim;
};

void ConnectionE2E::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_sim = std::make_unique<LoggerSimProcess>(home());
}

void ConnectionE2E::cleanup()
{
    m_sim.reset();
    m_home.reset();
}

// The direct probe connects; the clock read, set and reset get their replies with the
// logger's year 08 replaced by the PC's at the positions the receive rewriting expects.
void ConnectionE2E::directClockReadSetAndReset()
{
    writeDevice(home());
    QVERIFY2(startSim({}), qPrintable(m_sim->error()));
    const CliRun r = runOnDevice(home(), ops("--rx connect time-read time-set reset"));
    QCOMPARE(r.exitCode, 0);
    const QStringList out = splitLines(r.out);
    QVERIFY2(out.contains(Connected), qPrintable(r.out));
    QVERIFY2(out.contains(QStringLiteral("message: Time set OK")), qPrintable(r.out));
    QVERIFY2(out.contains(QStringLiteral("message: RESET OK")), qPrintable(r.out));

    const QStringList clock = withPrefix(out, QStringLiteral("clock: "));
    QCOMPARE(clock.size(), 1);
    QVERIFY2(clock[0].startsWith(QStringLiteral("Time Read ") + pcYear() + u'/'), qPrintable(clock[0]));
    const QStringList set = withPrefix(out, QStringLiteral("rx: Time Set "));
    QCOMPARE(set.size(), 1);
    QVERIFY2(set[0].startsWith(pcYear() + u'/'), qPrintable(set[0]));

    const QStringList sent = m_sim->receivedLines();
    QCOMPARE(sent.mid(0, 2), (QStringList{QStringLiteral("#T01 R"), QStringLiteral("#T01 R")}));
    static const QRegularExpression clockSet(QStringLiteral("^#T01 W \\d\\d \\d\\d \\d\\d \\d\\d \\d\\d$"));
    QVERIFY2(clockSet.match(sent.value(2)).hasMatch(), qPrintable(sent.value(2)));
    QVERIFY2(sent.value(2).startsWith(QStringLiteral("#T01 W ") + pcYear()), qPrintable(sent.value(2)));
    QCOMPARE(sent.value(3), QStringLiteral("#RESET01"));
}

// Through each kind of modem: the initialisation, the dial joined from call command and
// number, then the clock read through the call; the hang-up sends the device's disconnect
// text and the escape bytes, each ended by CR, and ends on the modem's NO CARRIER. The
// MRX-417 loses the first characters of its CONNECT ("NECT 115200") and hangs up with
// the escape bytes alone.
void ConnectionE2E::modemConnectAndHangUp_data()
{
    QTest::addColumn<QByteArray>("scenario");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("disconnect");
    QTest::addColumn<QByteArray>("hangUpBytes"); // the end of the simulator's log

    const QByteArray logTail("CD \\\n#M01 T C\n");
    QTest::newRow("H315k") << QByteArray("modem=at\n") << QStringLiteral("H315k") << QStringLiteral("AT+CRM=129")
                           << QStringLiteral("+++") << logTail + "+++\n\x1d+++\x1b\n";
    // The modem answers OK to the seven characters, which does not end the wait; the
    // escape bytes bring the NO CARRIER that does.
    QTest::newRow("N-Warden") << QByteArray("modem=at\n") << QStringLiteral("N-Warden")
                              << QStringLiteral("AT+CRM=129") << QStringLiteral("^]+++^[")
                              << logTail + "^]+++^[\n\x1d+++\x1b\n";
    QTest::newRow("B/T(QN305)") << QByteArray("modem=at\n") << QStringLiteral("B/T(QN305)") << QStringLiteral("AT")
                                << QStringLiteral("ATH") << logTail + "ATH\n\x1d+++\x1b\n";
    QTest::newRow("MRX-417") << QByteArray("modem=mrx417\n") << QStringLiteral("MRX-417") << QStringLiteral("AT")
                             << QStringLiteral("+++") << logTail + "\x1d+++\x1b\n";
}

void ConnectionE2E::modemConnectAndHangUp()
{
    QFETCH(QByteArray, scenario);
    QFETCH(QString, type);
    QFETCH(QString, command);
    QFETCH(QString, disconnect);
    QFETCH(QByteArray, hangUpBytes);
    writeDevice(home(), [&](Setup &s) { useModem(s, type, command, QStringLiteral("ATDT"), disconnect); });
    QVERIFY2(startSim(scenario), qPrintable(m_sim->error()));

    const CliRun r = runOnDevice(home(), ops("connect time-read disconnect"));
    QCOMPARE(r.exitCode, 0);
    const QStringList out = splitLines(r.out);
    QCOMPARE(out.count(Connected), 1);
    QCOMPARE(withPrefix(out, QStringLiteral("clock: ")).size(), 1);
    QCOMPARE(out.last(), Disconnected);

    const QStringList sent = m_sim->receivedLines();
    QCOMPARE(sent.mid(0, 4), (QStringList{command, QStringLiteral("ATDT0101234567"), QStringLiteral("#T01 R"),
                                          QStringLiteral("#T01 R")}));
    const QByteArray log = readFile(QDir(home()).filePath(QStringLiteral("loggersim.log")));
    QVERIFY2(log.endsWith(hangUpBytes), qPrintable(firstDifference(log.right(hangUpBytes.size()), hangUpBytes)));
    QCOMPARE(m_sim->counts().value(QStringLiteral("modem-dial")), 1);
    QVERIFY(m_sim->counts().value(QStringLiteral("modem-escape")) + m_sim->counts().value(QStringLiteral("modem-hangup")) >= 1);
}

// A dial answered with NO CARRIER or ERROR: its message, the port closed, not connected,
// and nothing reaches the logger.
void ConnectionE2E::failedDialLeavesTheLoggerUnconnected_data()
{
    QTest::addColumn<QByteArray>("scenario");
    QTest::addColumn<QString>("message");
    QTest::newRow("NO CARRIER") << QByteArray("modem=at\ndial=nocarrier\n")
                                << QStringLiteral("message: CDMA - Connect CARRIER");
    QTest::newRow("ERROR") << QByteArray("modem=at\ndial=error\n") << QStringLiteral("message: CDMA - Connect Error");
}

void ConnectionE2E::failedDialLeavesTheLoggerUnconnected()
{
    QFETCH(QByteArray, scenario);
    QFETCH(QString, message);
    writeDevice(home(), [](Setup &s) {
        useModem(s, QStringLiteral("H315k"), QStringLiteral("AT+CRM=129"), QStringLiteral("ATDT"), QStringLiteral("+++"));
    });
    QVERIFY2(startSim(scenario), qPrintable(m_sim->error()));

    const CliRun r = runOnDevice(home(), ops("connect"));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(splitLines(r.out), (QStringList{message, Disconnected}));
    QCOMPARE(m_sim->receivedLines(), (QStringList{QStringLiteral("AT+CRM=129"), QStringLiteral("ATDT0101234567")}));
}

// The modem drops the call after the logger's second answer (the first clock read after
// connecting): its NO CARRIER ends the link, the next clock read gets no answer, and the
// disconnect finds nothing to hang up.
void ConnectionE2E::lostCarrierEndsTheLink()
{
    writeDevice(home(), [](Setup &s) {
        useModem(s, QStringLiteral("H315k"), QStringLiteral("AT+CRM=129"), QStringLiteral("ATDT"), QStringLiteral("+++"));
    });
    QVERIFY2(startSim("modem=at\ncarrier_loss_after=2\n"), qPrintable(m_sim->error()));

    const CliRun r = runOnDevice(home(), ops("--rx connect time-read time-read disconnect"));
    QCOMPARE(r.exitCode, 1);
    const QStringList out = splitLines(r.out);
    QVERIFY2(out.contains(Connected), qPrintable(r.out));
    QCOMPARE(withPrefix(out, QStringLiteral("clock: ")).size(), 1);
    QCOMPARE(out.last(), QStringLiteral("rx: NO CARRIER"));
    QVERIFY2(r.err.contains(QStringLiteral("disconnect: the logger is not connected")), qPrintable(r.err));
    // The unanswered read went out twice; no disconnect text, no escape.
    QCOMPARE(m_sim->receivedLines().mid(4), (QStringList{QStringLiteral("#T01 R"), QStringLiteral("#T01 R")}));
    QCOMPARE(m_sim->counts().value(QStringLiteral("modem-ignored")), 2);
}

QTEST_GUILESS_MAIN(ConnectionE2E)
#include "tst_connection_e2e.moc"
