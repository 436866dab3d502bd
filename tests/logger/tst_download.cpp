#include "app/errorlog.h"
#include "logger/datadelete.h"
#include "logger/download.h"
#include "logger/downloadactions.h"
#include "logger/filetree.h"
#include "support/testrig.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace kvl;
using namespace kvl::test;

namespace {

enum Set { All, Last };

// Logger 01 in slot 0, connected and selected, port open; its save folder "data" in the
// rig's program folder. The logger answers the terminal-mode commands and the listing.
struct Rig : TestRig {
    Rig()
    {
        registry[0].DeviceSet.DeviceName = QStringLiteral("Dam A");
        registry[0].DeviceSet.LogID = QStringLiteral("01");
        registry[0].SaveFileSet.SavePath = QDir(home.path()).filePath(QStringLiteral("data"));
        registry[0].SaveFileSet.FileName1 = QStringLiteral("CR000");
        session.Selected_index = 0;
        session.Connect_flg = true;
        port.open();
        port.script("#M01 T C", {{"Terminal mode UNC\r\n", 50}});
        port.script("#M01 T O", {{"Terminal mode\r\n", 50}});
        port.script("dir", {{"[.]\r\n[..]\r\n[SL01]\r\n", 50}});
    }
    // The size reply and the contents of one logger file; the contents come in pieces.
    void scriptFile(const QByteArray &path, const QByteArray &sizeReply, const QByteArray &contents,
                    qint64 latencyMs = 50)
    {
        port.script("FSIZE " + path, {{sizeReply, 50}});
        port.script("fread " + path, {{contents, latencyMs, 7}});
    }
    QStringList sent() const
    {
        QStringList lines;
        for (const QByteArray &l : port.sentLines())
            lines << QString::fromLatin1(l);
        return lines;
    }
    QString savePath(const QString &name) const
    {
        return QDir(registry[0].SaveFileSet.SavePath).filePath(name);
    }
    QByteArray log() const
    {
        QFile f(QDir(home.path()).filePath(QStringLiteral("LogFile.Log")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool statusShown(int panel, const QString &text) const
    {
        return hooks.statusWrites.contains(qMakePair(panel, text));
    }
};

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray sizeReply(qsizetype size) { return "SZ " + QByteArray::number(size) + "\r\n"; }

const QByteArray File0 = "14/05/12 10:00:00,1,2\r\n14/05/12 11:00:00,5,6\r\n";
const QByteArray File1 = "14/05/12 10:00:00,3,4\r\n14/05/12 11:00:00,7,8\xB0" "C\r\n";

} // namespace

class DownloadTest : public QObject {
    Q_OBJECT
private slots:
    void standardDownloadSaves_data();
    void standardDownloadSaves();
    void failedDownloadSavesNothing_data();
    void failedDownloadSavesNothing();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void treeDownload_data();
    void treeDownload();
    void deleteDataAll_data();
    void deleteDataAll();
    void buttonsNeedLink();
};

void DownloadTest::standardDownloadSaves_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<bool>("split");
    QTest::addColumn<QString>("fileName2");
    QTest::addColumn<QByteArray>("size1");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<int>("messages");

    const QByteArray merged = "14/05/12 10:00:00,1,2,3,4\r\n14/05/12 11:00:00,5,6,7,8\xB0" "C\r\n";
    QTest::newRow("Last Down, lines split over two files") << int(Last) << true << QStringLiteral("CR001")
        << sizeReply(File1.size())
        << QStringList{QStringLiteral("#M01 T C"), QStringLiteral("#M01 T O"), QStringLiteral("dir"),
                       QStringLiteral("FSIZE \\SL01\\SL010.TXT"), QStringLiteral("fread \\SL01\\SL010.TXT"),
                       QStringLiteral("FSIZE \\SL01\\SL011.TXT"), QStringLiteral("fread \\SL01\\SL011.TXT"),
                       QStringLiteral("#M01 T C")}
        << merged << 2;
    QTest::newRow("All Down, one file") << int(All) << false << QString() << QByteArray()
        << QStringList{QStringLiteral("#M01 T C"), QStringLiteral("#M01 T O"), QStringLiteral("dir"),
                       QStringLiteral("FSIZE \\SL01\\CR010.TXT"), QStringLiteral("fread \\SL01\\CR010.TXT"),
                       QStringLiteral("#M01 T C")}
        << File0 << 1;
    QTest::newRow("All Down, empty second file: the first is saved alone") << int(All) << true << QString()
        << sizeReply(0)
        << QStringList{QStringLiteral("#M01 T C"), QStringLiteral("#M01 T O"), QStringLiteral("dir"),
                       QStringLiteral("FSIZE \\SL01\\CR010.TXT"), QStringLiteral("fread \\SL01\\CR010.TXT"),
                       QStringLiteral("FSIZE \\SL01\\CR011.TXT"), QStringLiteral("#M01 T C")}
        << File0 << 0;
}

// The merged lines are appended to an existing first save file and make a new second one,
// in the ANSI code page (the degree sign is one byte) with CR LF.
void DownloadTest::standardDownloadSaves()
{
    QFETCH(int, set);
    QFETCH(bool, split);
    QFETCH(QString, fileName2);
    QFETCH(QByteArray, size1);
    QFETCH(QStringList, sent);
    QFETCH(QByteArray, saved);
    QFETCH(int, messages);

    Rig rig;
    rig.registry[0].ScheduleSet.SensorNoCheck = split;
    rig.registry[0].SaveFileSet.FileName2 = fileName2;
    const QByteArray prefix = set == Last ? "\\SL01\\SL01" : "\\SL01\\CR01";
    rig.scriptFile(prefix + "0.TXT", sizeReply(File0.size()), File0);
    rig.scriptFile(prefix + "1.TXT", size1, File1);
    const QByteArray old = "14/05/11 23:00:00,0,0\r\n";
    writeFile(rig.savePath(QStringLiteral("CR000.TXT")), old);

    QVERIFY(set == Last ? lastDownButton(rig.session) : allDownButton(rig.session));

    QCOMPARE(rig.sent(), sent);
    QCOMPARE(readFile(rig.savePath(QStringLiteral("CR000.TXT"))), old + saved);
    if (!fileName2.isEmpty())
        QCOMPARE(readFile(rig.savePath(fileName2 + QStringLiteral(".TXT"))), saved);
    QCOMPARE(rig.hooks.messages, QStringList(messages, QStringLiteral("Download complete")));
    const QString savedText = QStringLiteral("The File Saved to ")
        + QDir::toNativeSeparators(rig.savePath(QStringLiteral("CR000.TXT"))) + QStringLiteral(" -2024-05-12 ");
    QVERIFY(std::any_of(rig.hooks.statusWrites.cbegin(), rig.hooks.statusWrites.cend(),
                        [&](const auto &w) { return w.first == 4 && w.second.startsWith(savedText); }));
    QCOMPARE(rig.hooks.progress[QStringLiteral("pgbDown")].last(), 0);
    QVERIFY(rig.log().isEmpty());
}

void DownloadTest::failedDownloadSavesNothing_data()
{
    QTest::addColumn<bool>("split");
    QTest::addColumn<QByteArray>("size0");
    QTest::addColumn<QByteArray>("file0");
    QTest::addColumn<QByteArray>("size1");
    QTest::addColumn<bool>("stopDuringRead");
    QTest::addColumn<int>("freads");
    QTest::addColumn<bool>("noAnswer");
    QTest::addColumn<QByteArray>("logged");
    QTest::addColumn<int>("polls");

    const QByteArray cut = QByteArray(898, 'x') + "\r\n";
    // 1000 characters announced, 900 arrive: the wait gives up when its count passes
    // 20 + 1000 x 0.02 = 40, after 41 polls of 200 ms.
    QTest::newRow("file cut short") << false << sizeReply(1000) << cut << QByteArray() << false << 1 << true
                                    << QByteArray() << 41;
    QTest::newRow("stopped during the read") << false << sizeReply(1000) << cut << QByteArray() << true << 1
                                             << true << QByteArray() << -1;
    QTest::newRow("size reply not a number") << false << QByteArray("SZ abc\r\n") << File0 << QByteArray() << false
                                             << 0 << false << QByteArray("size reply is not a number") << 0;
    QTest::newRow("second size reply not a number") << true << sizeReply(File0.size()) << File0
                                                    << QByteArray("SZ 1k\r\n") << false << 1 << false
                                                    << QByteArray("size reply is not a number") << -1;
}

// Nothing of a failed, stopped or unsized download reaches the save files.
void DownloadTest::failedDownloadSavesNothing()
{
    QFETCH(bool, split);
    QFETCH(QByteArray, size0);
    QFETCH(QByteArray, file0);
    QFETCH(QByteArray, size1);
    QFETCH(bool, stopDuringRead);
    QFETCH(int, freads);
    QFETCH(bool, noAnswer);
    QFETCH(QByteArray, logged);
    QFETCH(int, polls);

    Rig rig;
    rig.registry[0].ScheduleSet.SensorNoCheck = split;
    rig.registry[0].SaveFileSet.FileName2 = QStringLiteral("CR001");
    rig.scriptFile("\\SL01\\CR010.TXT", size0, file0, stopDuringRead ? 1000 : 50);
    rig.scriptFile("\\SL01\\CR011.TXT", size1, File1);
    const QByteArray old = "14/05/11 23:00:00,0,0\r\n";
    writeFile(rig.savePath(QStringLiteral("CR000.TXT")), old);
    if (stopDuringRead)
        rig.clock.onDelay([&](int) {
            if (rig.port.writeCount("fread \\SL01\\CR010.TXT") > 0)
                rig.session.Stop_flg(); // the Stop button
        });

    QVERIFY(!allDownButton(rig.session));

    int sentFreads = 0;
    for (const QString &line : rig.sent())
        sentFreads += line.startsWith(u"fread ");
    QCOMPARE(sentFreads, freads);
    QCOMPARE(rig.sent().last(), QStringLiteral("#M01 T C"));
    QCOMPARE(readFile(rig.savePath(QStringLiteral("CR000.TXT"))), old);
    QVERIFY(!QFile::exists(rig.savePath(QStringLiteral("CR001.TXT"))));
    QVERIFY(rig.statusShown(3, QStringLiteral("PROGRAM_COMMAND_ALLDownFREAD  ERROR ")));
    QCOMPARE(rig.statusShown(4, QStringLiteral("Logger no answer [dir]")), noAnswer);
    QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral("Download Error")});
    if (logged.isEmpty())
        QVERIFY(rig.log().isEmpty());
    else
        QVERIFY2(rig.log().contains(logged), rig.log().constData());
    // The download bar: reset by the button, one value per poll, reset at the end.
    if (polls >= 0)
        QCOMPARE(rig.hooks.progress[QStringLiteral("pgbDown")].size(), 1 + polls + 1);
}

void DownloadTest::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<bool>("folderIsFile");
    QTest::addColumn<qint64>("fileSizeLimit");
    QTest::addColumn<QByteArray>("logged");

    QTest::newRow("save folder is a file") << true << qint64(0) << QByteArray("Cannot open file");
#ifdef Q_OS_UNIX
    // The disk fills up halfway through the append: 10 more bytes fit.
    QTest::newRow("disk full during the append") << false << qint64(4010) << QByteArray("Cannot write file");
#endif
}

// A save that fails goes to the error handler (panel 4 and LogFile.Log) and leaves the
// save file as it was; the result is false.
void DownloadTest::failedSaveKeepsOldFile()
{
    QFETCH(bool, folderIsFile);
    QFETCH(qint64, fileSizeLimit);
    QFETCH(QByteArray, logged);

    Rig rig;
    rig.scriptFile("\\SL01\\CR010.TXT", sizeReply(File0.size()), File0);
    const QByteArray old = QByteArray(3998, '0') + "\r\n";
    if (folderIsFile)
        writeFile(rig.registry[0].SaveFileSet.SavePath, old);
    else
        writeFile(rig.savePath(QStringLiteral("CR000.TXT")), old);

    bool ok = true;
#ifdef Q_OS_UNIX
    rlimit saved{};
    auto oldHandler = SIG_DFL;
    if (fileSizeLimit > 0) {
        getrlimit(RLIMIT_FSIZE, &saved);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = rlim_t(fileSizeLimit);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ok = allDownButton(rig.session);
    if (fileSizeLimit > 0) {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }
#else
    ok = allDownButton(rig.session);
#endif

    QVERIFY(!ok);
    QCOMPARE(readFile(folderIsFile ? rig.registry[0].SaveFileSet.SavePath : rig.savePath(QStringLiteral("CR000.TXT"))),
             old);
    QVERIFY2(rig.log().contains(logged), rig.log().constData());
    QVERIFY(rig.hooks.panels[4].startsWith(QString::fromLatin1(logged)));
    QVERIFY(std::none_of(rig.hooks.statusWrites.cbegin(), rig.hooks.statusWrites.cend(),
                         [](const auto &w) { return w.second.startsWith(u"The File Saved to "); }));
    QCOMPARE(rig.sent().last(), QStringLiteral("#M01 T C"));
}

void DownloadTest::treeDownload_data()
{
    QTest::addColumn<QString>("listedPath");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("upperView");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("size in the listing") << QStringLiteral("\\SL01\\DATA.TXT(%1)").arg(File0.size()) << true
        << QStringList{QStringLiteral("14/05/12 10:00:00,1,2"), QStringLiteral("14/05/12 11:00:00,5,6")}
        << QStringList{QStringLiteral("Download done.")};
    // No size: the read fails after its first poll; lines that arrive still show.
    QTest::newRow("no size in the listing") << QStringLiteral("\\SL01\\DATA.TXT") << false
        << QStringList{QStringLiteral("14/05/12 10:00:00,1,2"), QStringLiteral("14/05/12 11:00:00,5,6")}
        << QStringList();
}

void DownloadTest::treeDownload()
{
    QFETCH(QString, listedPath);
    QFETCH(bool, result);
    QFETCH(QStringList, upperView);
    QFETCH(QStringList, messages);

    Rig rig;
    rig.port.script("fread \\SL01\\DATA.TXT", {{File0, 50, 7}});
    rig.session.RxTypeIndex = RxView::DownloadUpper;
    rig.session.Views.appendLine(RxView::DownloadUpper, QStringLiteral("stale"));

    QCOMPARE(FileDown(rig.session, listedPath), result);

    QCOMPARE(rig.sent(), QStringList({QStringLiteral("#M01 T O"), QStringLiteral("fread \\SL01\\DATA.TXT")}));
    QCOMPARE(rig.session.Views.lines(RxView::DownloadUpper), upperView);
    QCOMPARE(rig.hooks.messages, messages);
    QCOMPARE(rig.session.Result, result);
}

void DownloadTest::deleteDataAll_data()
{
    QTest::addColumn<bool>("split");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QList<int>>("progress");

    const QString cd = QStringLiteral("CD \\");
    const QString close = QStringLiteral("#M01 T C");
    const QString open = QStringLiteral("#M01 T O");
    QTest::newRow("one file per record") << false << true
        << QStringList{close, open, cd, QStringLiteral("DEL \\SL01\\SL010.TXT"), cd, QStringLiteral("DEL SL01\\CR010.TXT"),
                       cd, QStringLiteral("DEL SL01\\SL011.TXT"), cd, QStringLiteral("DEL SL01\\CR011.TXT"), close}
        << QList<int>{0, 25, 50, 75, 100};
    QTest::newRow("records split over two files") << true << true
        << QStringList{close, open,
                       cd, QStringLiteral("DEL \\SL01\\SL010.TXT"), QStringLiteral("DEL \\SL01\\SL011.TXT"),
                       cd, QStringLiteral("DEL SL01\\CR010.TXT"), QStringLiteral("DEL SL01\\CR011.TXT"),
                       cd, QStringLiteral("DEL SL01\\SL011.TXT"), QStringLiteral("DEL SL01\\CR011.TXT"),
                       cd, QStringLiteral("DEL SL01\\CR011.TXT"), QStringLiteral("DEL SL01\\CR011.TXT"), close}
        << QList<int>{0, 25, 50, 75, 100};
    QTest::newRow("answered No") << false << false << QStringList() << QList<int>{0};
}

void DownloadTest::deleteDataAll()
{
    QFETCH(bool, split);
    QFETCH(bool, answer);
    QFETCH(QStringList, sent);
    QFETCH(QList<int>, progress);

    Rig rig;
    rig.registry[0].ScheduleSet.SensorNoCheck = split;
    rig.hooks.answers << answer;
    FileTree tree;
    tree.add(nullptr, QStringLiteral("[SL01]"));

    DeleteDataAll2(rig.session, &tree);

    QCOMPARE(rig.hooks.questions, QStringList{QStringLiteral(
        "Are you sure you want to delete the saved data?\r\n!!!  Delete all data  !!!\r\n")});
    QCOMPARE(rig.sent(), sent);
    QCOMPARE(rig.hooks.progress[QStringLiteral("pgbDown")], progress);
    QCOMPARE(tree.rowCount(), answer ? 0 : 1);
    QVERIFY(!rig.hooks.busy);
    // One log entry per group, naming the last DEL sent.
    if (answer)
        QCOMPARE(rig.hooks.tx.filter(QStringLiteral(": DEL ")).size(), 4);
}

void DownloadTest::buttonsNeedLink()
{
    const std::function<void(Session &)> buttons[] = {
        [](Session &s) { allDownButton(s); },
        [](Session &s) { lastDownButton(s); },
        [](Session &s) { DeleteDataAll2(s, nullptr); },
    };
    for (const auto &press : buttons) {
        Rig rig;
        rig.session.Connect_flg = false;
        rig.hooks.answers << true;
        press(rig.session);
        QCOMPARE(rig.hooks.messages, QStringList{QStringLiteral(" Datalogger is Unconnected")});
        QVERIFY(rig.sent().isEmpty());
        QVERIFY(rig.hooks.questions.isEmpty());
    }
}

QTEST_GUILESS_MAIN(DownloadTest)
#include "tst_download.moc"
