// Received bytes to lines: year rewriting, status-code deletion across receive events,
// LF and empty lines, the character count, where each line goes, and the partial-line cap.

#include "link/receiveframing.h"
#include "support/testrig.h"

#include <QTest>

using namespace kvl;
using namespace kvl::test;

class FramingTest : public QObject {
    Q_OBJECT
private slots:
    void framing_data();
    void framing();
    void distribution_data();
    void distribution();
    void carrierLoss_data();
    void carrierLoss();
    void rxTypeMemoClear_data();
    void rxTypeMemoClear();
    void endlessLineKeepsNewestCharacters();
};

void FramingTest::framing_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QString>("nowYear");
    QTest::addColumn<QStringList>("lines"); // distributed, in order
    QTest::addColumn<QString>("buff");
    QTest::addColumn<QString>("buffTemp");
    QTest::addColumn<int>("fileSize");

    const QString y24 = QStringLiteral("24");
    QTest::newRow("Time Read year 08")
        << QByteArrayList{"Time Read 08/05/12 10:30:00\r"} << y24
        << QStringList{QStringLiteral("Time Read 24/05/12 10:30:00")}
        << QStringLiteral("Time Read 24/05/12 10:30:00") << QString() << 28;
    QTest::newRow("Time Read year 09 kept")
        << QByteArrayList{"Time Read 09/05/12 10:30:00\r"} << y24
        << QStringList{QStringLiteral("Time Read 09/05/12 10:30:00")}
        << QStringLiteral("Time Read 09/05/12 10:30:00") << QString() << 28;
    QTest::newRow("Time Set year 08")
        << QByteArrayList{"Time Set 08/05/12 10:30:00\r\n"} << y24
        << QStringList{QStringLiteral("Time Set 24/05/12 10:30:00")}
        << QStringLiteral("Time Set 24/05/12 10:30:00") << QString() << 28;
    QTest::newRow("data line starting 08")
        << QByteArrayList{"08/05/12 10:30:00,1.234,5.678\r"} << y24
        << QStringList{QStringLiteral("24/05/12 10:30:00,1.234,5.678")}
        << QStringLiteral("24/05/12 10:30:00,1.234,5.678") << QString() << 30;
    QTest::newRow("clock rule not met falls through to the line start")
        << QByteArrayList{"08 Time Read 09/05/12\r"} << y24
        << QStringList{QStringLiteral("24 Time Read 09/05/12")}
        << QStringLiteral("24 Time Read 09/05/12") << QString() << 22;
    QTest::newRow("08 elsewhere kept")
        << QByteArrayList{"FREE 08\r"} << y24 << QStringList{QStringLiteral("FREE 08")}
        << QStringLiteral("FREE 08") << QString() << 8;
    QTest::newRow("year unknown keeps the date")
        << QByteArrayList{"08/05/12 10:30:00\r"} << QString()
        << QStringList{QStringLiteral("08/05/12 10:30:00")}
        << QStringLiteral("08/05/12 10:30:00") << QString() << 18;
    QTest::newRow("line across two events")
        << QByteArrayList{"AB", "C\r"} << y24 << QStringList{QStringLiteral("ABC")}
        << QStringLiteral("ABC") << QString() << 4;
    QTest::newRow("E32 across two events")
        << QByteArrayList{"12E3", "2,5\r"} << y24 << QStringList{QStringLiteral("12,5")}
        << QStringLiteral("12,5") << QString() << 8;
    QTest::newRow("all five status codes")
        << QByteArrayList{"1E212E623E404E005E32\r"} << y24 << QStringList{QStringLiteral("12345")}
        << QStringLiteral("12345") << QString() << 21;
    QTest::newRow("a code formed again after a deletion")
        << QByteArrayList{"E2E3", "21\r"} << y24 << QStringList{}
        << QString() << QString() << 7;
    QTest::newRow("deletions cascade inside a run")
        << QByteArrayList{"AEE3", "232B\r"} << y24 << QStringList{QStringLiteral("AB")}
        << QStringLiteral("AB") << QString() << 9;
    QTest::newRow("lower-case e32 stays")
        << QByteArrayList{"12e32\r"} << y24 << QStringList{QStringLiteral("12e32")}
        << QStringLiteral("12e32") << QString() << 6;
    QTest::newRow("OK then an empty line empties Buff")
        << QByteArrayList{"OK\r\n", "\r\n"} << y24 << QStringList{QStringLiteral("OK")}
        << QString() << QString() << 6;
    QTest::newRow("LF ignored")
        << QByteArrayList{"A\nB\n\r"} << y24 << QStringList{QStringLiteral("AB")}
        << QStringLiteral("AB") << QString() << 5;
    QTest::newRow("several lines, a partial one kept")
        << QByteArrayList{"ONE\rTWO\rTH", "R"} << y24
        << QStringList{QStringLiteral("ONE"), QStringLiteral("TWO")}
        << QStringLiteral("TWO") << QStringLiteral("THR") << 11;
}

void FramingTest::framing()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QString, nowYear);
    QFETCH(QStringList, lines);
    QFETCH(QString, buff);
    QFETCH(QString, buffTemp);
    QFETCH(int, fileSize);

    TestRig rig;
    QCOMPARE(rig.session.NowYear, QStringLiteral("24")); // the virtual clock stands in 2024
    rig.session.NowYear = nowYear;
    rig.session.Buff = QStringLiteral("stale");
    QVERIFY(rig.port.open());
    for (const QByteArray &chunk : chunks)
        rig.port.inject(chunk); // each chunk is one receive event

    QCOMPARE(rig.hooks.views.value(0), lines);
    QCOMPARE(rig.hooks.rx, lines);
    QCOMPARE(rig.session.Buff, buff);
    QCOMPARE(rig.session.BuffTemp, buffTemp);
    QCOMPARE(rig.session.FileSize, fileSize);
    if (!lines.isEmpty())
        QCOMPARE(rig.hooks.panels.value(4), lines.last());
}

void FramingTest::distribution_data()
{
    QTest::addColumn<int>("rxTypeIndex");
    QTest::addColumn<bool>("toView");
    for (int index : {0, 1, 5, 6, 7, 9})
        QTest::addRow("view %d", index) << index << true;
    for (int index : {2, 3, 4, 8, -1, 10})
        QTest::addRow("no view %d", index) << index << false;
}

void FramingTest::distribution()
{
    QFETCH(int, rxTypeIndex);
    QFETCH(bool, toView);
    TestRig rig;
    rig.session.RxTypeIndex = rxTypeIndex;
    QVERIFY(rig.port.open());
    rig.port.inject("DIR OK\r");

    const QStringList expected{QStringLiteral("DIR OK")};
    QCOMPARE(rig.hooks.views.value(rxTypeIndex), toView ? expected : QStringList());
    QCOMPARE(rig.hooks.views.size(), toView ? 1 : 0); // no other view
    QCOMPARE(rig.hooks.rx, expected);
    QCOMPARE(rig.hooks.panels.value(4), expected.first());

    // Without a log window the line still reaches its view and panel 4.
    rig.session.detachTrafficLog(&rig.hooks);
    rig.port.inject("NEXT\r");
    QCOMPARE(rig.hooks.rx, expected);
    QCOMPARE(rig.hooks.panels.value(4), QStringLiteral("NEXT"));
}

void FramingTest::carrierLoss_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("connected");
    QTest::newRow("NO CARRIER") << QByteArray("NO CARRIER\r") << false;
    QTest::newRow("lower case") << QByteArray("no carrier\r") << false;
    QTest::newRow("other text") << QByteArray("CONNECT 9600\r") << true;
    QTest::newRow("unfinished line") << QByteArray("NO CARRIER") << true;
}

void FramingTest::carrierLoss()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, connected);
    TestRig rig;
    rig.session.Connect_flg = true;
    QVERIFY(rig.port.open());
    rig.port.inject(line);
    QCOMPARE(rig.session.Connect_flg, connected);
}

void FramingTest::rxTypeMemoClear_data()
{
    QTest::addColumn<int>("rxTypeIndex");
    QTest::addColumn<int>("clearedView"); // -1: none
    QTest::newRow("0 terminal") << 0 << 0;
    QTest::newRow("4 terminal") << 4 << 0;
    QTest::newRow("1 program") << 1 << 1;
    QTest::newRow("5 download upper") << 5 << 5;
    QTest::newRow("6 download lower") << 6 << 6;
    QTest::newRow("9 program reply") << 9 << 9;
    QTest::newRow("7 3DS not cleared") << 7 << -1;
    QTest::newRow("2 nothing") << 2 << -1;
}

void FramingTest::rxTypeMemoClear()
{
    QFETCH(int, rxTypeIndex);
    QFETCH(int, clearedView);
    TestRig rig;
    rig.session.RxTypeIndex = rxTypeIndex;
    RxTypeMemoClear(rig.session);
    QMap<int, int> expected;
    if (clearedView >= 0)
        expected[clearedView] = 1;
    QCOMPARE(rig.hooks.clears, expected);
}

void FramingTest::endlessLineKeepsNewestCharacters()
{
    TestRig rig;
    QVERIFY(rig.port.open());
    QByteArray stream;
    for (int i = 0; stream.size() < 1024 * 1024; ++i)
        stream += QByteArray::number(i) + ',';
    for (qsizetype at = 0; at < stream.size(); at += 4096)
        rig.port.inject(stream.mid(at, 4096));

    const qsizetype cap = ReceiveFraming::MaxPartialLine;
    QVERIFY(rig.session.BuffTemp.size() >= cap);
    QVERIFY(rig.session.BuffTemp.size() <= cap + cap / 16);
    QVERIFY(QString::fromLatin1(stream).endsWith(rig.session.BuffTemp));
    QCOMPARE(rig.session.FileSize, qint32(stream.size()));

    rig.port.inject("END\r");
    QVERIFY(rig.session.Buff.endsWith(QString::fromLatin1(stream.right(100)) + QStringLiteral("END")));
    QVERIFY(rig.session.BuffTemp.isEmpty());
}

QTEST_GUILESS_MAIN(FramingTest)
#include "tst_framing.moc"
