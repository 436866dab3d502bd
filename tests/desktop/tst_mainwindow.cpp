// The desktop frame on the offscreen platform: pages, status bar, start-up with a damaged
// registry file, the error handler, the layout rules, closing and the receive views.

#include "app/errorlog.h"
#include "desktop/desktophooks.h"
#include "desktop/downloadpage.h"
#include "desktop/guardedconnect.h"
#include "desktop/kvlapplication.h"
#include "desktop/mainwindow.h"
#include "desktop/page3ds.h"
#include "desktop/programpage.h"
#include "desktop/receiveview.h"
#include "desktop/setuppage.h"
#include "desktop/terminalpage.h"
#include "support/recordinghooks.h"
#include "support/scriptedport.h"
#include "support/virtualclock.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <cmath>
#include <memory>
#include <stdexcept>

using namespace kvl;

namespace {

// The page rules' "half": rounded to the nearest integer, halves to even.
int half(int size) { return int(std::lrint(size / 2.0)); }

const QRegularExpression LoggedError(QStringLiteral("^(.+) - \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstShowPagesPanelsAndGrid();
    void neverNarrowerThanMinimum();
    void pagesFollowTheLayoutRules();
    void damagedSettingFileIsReportedAndStartGoesOn();
    void uncaughtErrorsReachPanel4_data();
    void uncaughtErrorsReachPanel4();
    void closingWhileConnected_data();
    void closingWhileConnected();
    void closingStopsAWaitingOperation();
    void receiveViewsByNumber_data();
    void receiveViewsByNumber();
    void receiveViewKeepsTheUsersPlace();
    void ctrlEnterTogglesVersionMaker_data();
    void ctrlEnterTogglesVersionMaker();

private:
    // firstShowOnly: the monitoring timer is stopped before the window shows, so the panels
    // keep the texts of the first show (the monitoring replaces them within 10 ms).
    std::unique_ptr<TfKVL520_Main> openWindow(SerialPort *port = nullptr, bool firstShowOnly = false);
    QString logFile() const { return m_home->filePath(QStringLiteral("LogFile.Log")); }

    std::unique_ptr<QTemporaryDir> m_home;
};

void MainWindowTest::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
}

void MainWindowTest::cleanup() { m_home.reset(); }

std::unique_ptr<TfKVL520_Main> MainWindowTest::openWindow(SerialPort *port, bool firstShowOnly)
{
    auto window = std::make_unique<TfKVL520_Main>(m_home->path(), port);
    if (firstShowOnly)
        window->tmrMonitoring->stop();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("main window not exposed");
    return window;
}

void MainWindowTest::firstShowPagesPanelsAndGrid()
{
    auto w = openWindow(nullptr, true);

    QStringList captions;
    for (int k = 0; k < w->PageControl1->count(); ++k)
        captions << w->PageControl1->tabText(k);
    QCOMPARE(captions, (QStringList{u"Setup"_qs, u"Program"_qs, u"download"_qs, u"3DS"_qs, u"Terminal"_qs}));
    QCOMPARE(w->PageControl1->currentWidget(), w->tabSetup);

    const auto labels = w->statusBar()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(labels.size(), 5);
    const QStringList expected{u"Comport Close."_qs, u"Disconnected"_qs, QString(), QString(), QString()};
    const int share = int(std::lrint((w->width() - 600) / 2.0));
    const QList<int> widths{100, 150, 250, share, share};
    for (int k = 0; k < 5; ++k) {
        QCOMPARE(w->statusPanels().text(k), expected[k]);
        QCOMPARE(w->statusPanels().label(k)->width(), widths[k]);
    }

    QCOMPARE(w->windowTitle(), u"KVL520 Ver2.0.3"_qs);
    QCOMPARE(w->session().Version, w->windowTitle());
    QCOMPARE(w->session().Selected_index, -1);
    QCOMPARE(w->session().NowYear, QDate::currentDate().toString(u"yy"_qs));
    QVERIFY(w->lbeDeviceInfo->text().isEmpty());
    QVERIFY(w->imgdisConnect->isVisible() && w->imgconnect->isHidden());
    QVERIFY(w->btnUpdate->isHidden());
    QVERIFY(w->tabSetup->cbbPortno->count() >= 1); // the port list was filled

    QTableWidget *grid = w->tab3DS->stg3DSInformation;
    const QStringList headers{u"No"_qs, QString(), u"ID(Dec)"_qs, u"ID(Hex)"_qs, u"Group"_qs, u"Type"_qs,
                              u"Length"_qs, u"P1_Init"_qs, u"P2_Init"_qs, u"R1_Init"_qs, u"R2_Init"_qs, u"Tor"_qs};
    const QList<int> columnWidths{18, 18, 50, 54, 40, 70, 50, 75, 75, 75, 75, 30};
    QCOMPARE(grid->columnCount(), 12);
    for (int c = 0; c < 12; ++c) {
        QCOMPARE(grid->horizontalHeaderItem(c)->text(), headers[c]);
        QCOMPARE(grid->horizontalHeader()->sectionSize(c), columnWidths[c]);
    }
}

void MainWindowTest::neverNarrowerThanMinimum()
{
    auto w = openWindow();
    w->resize(1000, 700);
    QCoreApplication::processEvents();
    QCOMPARE(w->width(), 1100);
}

void MainWindowTest::pagesFollowTheLayoutRules()
{
    auto w = openWindow();
    w->PageControl1->setCurrentWidget(w->tabProg);
    QTRY_VERIFY(w->tabProg->isVisible());
    // Pages 1047 wide and 585 high: a half of 523.5 rounds up and one of 292.5 rounds
    // down, so neither cutting the half nor rounding halves up passes.
    const QSize target(1047, 585);
    w->resize(w->size() + target - w->tabProg->size());
    QTRY_COMPARE(w->tabProg->size(), target);
    {
        const QSize page = w->tabProg->size();
        const QRect prog = w->tabProg->Memo_RX_PROG->geometry();
        const QRect buff = w->tabProg->Memo_RX_Buff->geometry();
        QCOMPARE(prog.width(), half(page.width()) - 4);
        QCOMPARE(buff.width(), half(page.width()) - 4);
        QCOMPARE(prog.height(), page.height() - 60);
        QCOMPARE(buff.height(), page.height() - 60);
        QCOMPARE(buff.left(), prog.right() + 1 + 2);
        QCOMPARE(buff.top(), prog.top());
    }

    w->PageControl1->setCurrentWidget(w->tabDownload);
    QTRY_VERIFY(w->tabDownload->isVisible());
    QCoreApplication::processEvents();
    {
        const int pageHeight = w->tabDownload->height();
        QCOMPARE(pageHeight, target.height());
        const QRect down1 = w->tabDownload->mmoDown1->geometry();
        const QRect down2 = w->tabDownload->mmoDown2->geometry();
        QCOMPARE(down1.height(), half(pageHeight) - 36);
        QCOMPARE(down2.height(), down1.height());
        QCOMPARE(down2.top(), down1.height() + 60);
        QCOMPARE(w->tabDownload->trvFilelist->geometry().bottom(), down2.bottom());
    }

    QCOMPARE(w->statusPanels().label(3)->width(), int(std::lrint((w->width() - 600) / 2.0)));
}

void MainWindowTest::damagedSettingFileIsReportedAndStartGoesOn()
{
    QFile setting(m_home->filePath(u"Setting.dat"_qs));
    QVERIFY(setting.open(QIODevice::WriteOnly));
    setting.write(QByteArray(100, '\0'));
    setting.close();

    auto w = openWindow(nullptr, true);

    const QString panel4 = w->statusPanels().text(4);
    QVERIFY2(LoggedError.match(panel4).hasMatch(), qPrintable(panel4));
    QFile log(logFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), panel4.toLatin1() + "\r\n");
    QVERIFY(QFile::exists(m_home->filePath(u"Setting.dat.bad"_qs)));
    // The rest of the start-up ran.
    QCOMPARE(w->statusPanels().text(0), u"Comport Close."_qs);
    QVERIFY(w->tabSetup->cbbPortno->count() >= 1);
}

void MainWindowTest::uncaughtErrorsReachPanel4_data()
{
    QTest::addColumn<bool>("throughGuardedHandler");
    QTest::newRow("button handler") << true;
    QTest::newRow("any event handler") << false;
}

void MainWindowTest::uncaughtErrorsReachPanel4()
{
    QFETCH(bool, throughGuardedHandler);
    auto w = openWindow();

    if (throughGuardedHandler) {
        auto *button = new QPushButton(u"Fail"_qs, w->Panel1);
        connectGuarded(button, &QPushButton::clicked, w.get(), w->session(),
                       [] { throw PlatformError(u"Disk gone"_qs); });
        button->show();
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        // Not wrapped at all: the application object stops it.
        QMetaObject::invokeMethod(w.get(), [] { throw std::runtime_error("Disk gone"); }, Qt::QueuedConnection);
    }
    QTRY_VERIFY(!w->statusPanels().text(4).isEmpty());

    const auto match = LoggedError.match(w->statusPanels().text(4));
    QVERIFY(match.hasMatch());
    QCOMPARE(match.captured(1), u"Disk gone"_qs);
    QFile log(logFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), w->statusPanels().text(4).toLatin1() + "\r\n");
    QVERIFY(w->isVisible());
}

void MainWindowTest::closingWhileConnected_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QStringList>("questions");
    QTest::newRow("connected, answer No") << true << QStringList{u"Do you want to disconnect?\r\n"_qs};
    QTest::newRow("not connected") << false << QStringList{};
}

void MainWindowTest::closingWhileConnected()
{
    QFETCH(bool, connected);
    QFETCH(QStringList, questions);
    test::VirtualClock clock;
    test::ScriptedPort port(clock);
    QVERIFY(port.open());
    auto w = openWindow(&port);
    test::RecordingHooks hooks;
    hooks.answers << false;
    w->session().setDialogs(&hooks);
    w->session().Connect_flg = connected;

    QVERIFY(w->close());

    QVERIFY(!w->isVisible());
    QCOMPARE(hooks.questions, questions);
    QVERIFY(port.writes().isEmpty());
    for (QTimer *timer : {w->tmrNow, w->tmrMonitoring, w->tmrConnectIng, w->tmrScheduleMaster, w->tmr3DSCal})
        QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
    w->session().setDialogs(nullptr);
}

void MainWindowTest::closingStopsAWaitingOperation()
{
    auto w = openWindow();
    bool stoppedInWait = false;
    QTimer::singleShot(0, w.get(), [&] { w->close(); });
    {
        OperationGuard operation(w->session());
        w->session().Start_flg();
        w->session().delay(5000); // ends at once when the window closes
        stoppedInWait = w->session().delay_stop_flg;
    }
    QVERIFY(stoppedInWait);
    QVERIFY(!w->isVisible());
}

void MainWindowTest::receiveViewsByNumber_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("name");
    QTest::newRow("0 terminal") << 0 << u"mmoRxTemp"_qs;
    QTest::newRow("1 program") << 1 << u"Memo_RX_PROG"_qs;
    QTest::newRow("5 download upper") << 5 << u"mmoDown1"_qs;
    QTest::newRow("6 download lower") << 6 << u"mmoDown2"_qs;
    QTest::newRow("7 3DS replies") << 7 << u"mmo3DS_RX"_qs;
    QTest::newRow("9 program replies") << 9 << u"Memo_RX_Buff"_qs;
    QTest::newRow("2 none") << 2 << QString();
}

void MainWindowTest::receiveViewsByNumber()
{
    QFETCH(int, view);
    QFETCH(QString, name);
    auto w = openWindow();
    LineSinks &sinks = w->session().lineSinks();

    sinks.appendLine(view, u"T2024/05/12 10:30:05"_qs);
    sinks.appendLine(view, u"OK"_qs);
    const auto views = w->centralWidget()->findChildren<ReceiveView *>(); // the pages' views
    QCOMPARE(views.size(), 6);
    for (ReceiveView *v : views) {
        const QStringList expected = v->objectName() == name
            ? QStringList{u"T2024/05/12 10:30:05"_qs, u"OK"_qs} : QStringList{};
        QTRY_COMPARE(v->toPlainText().split(u'\n', Qt::SkipEmptyParts), expected);
    }
    sinks.clearView(view);
    for (ReceiveView *v : views)
        QVERIFY(v->lines().isEmpty());
}

void MainWindowTest::receiveViewKeepsTheUsersPlace()
{
    auto w = openWindow();
    w->PageControl1->setCurrentWidget(w->tabTerminal);
    ReceiveView *view = w->tabTerminal->mmoRxTemp;
    QTRY_VERIFY(view->isVisible());
    QScrollBar *bar = view->verticalScrollBar();
    for (int k = 0; k < 300; ++k)
        view->appendLine(QString::number(k));
    view->flush();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum()); // followed the lines

    bar->setValue(10); // the user reads further up
    view->appendLine(u"more"_qs);
    view->flush();
    QCOMPARE(bar->value(), 10);
    QCOMPARE(view->lines().size(), 301);
}

void MainWindowTest::ctrlEnterTogglesVersionMaker_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("toggles");
    QTest::newRow("Ctrl+Enter") << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("Enter") << Qt::KeyboardModifiers(Qt::NoModifier) << false;
    QTest::newRow("Ctrl+Shift+Enter") << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier) << false;
}

void MainWindowTest::ctrlEnterTogglesVersionMaker()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, toggles);
    auto w = openWindow();
    QVERIFY(w->btnUpdate->isHidden());
    QTest::keyClick(w->tabSetup->edtSaveFolder, Qt::Key_Return, modifiers);
    QCOMPARE(!w->btnUpdate->isHidden(), toggles);
    if (toggles) {
        QTest::keyClick(w->tabSetup->edtSaveFolder, Qt::Key_Return, modifiers);
        QVERIFY(w->btnUpdate->isHidden());
    }
}

int main(int argc, char *argv[])
{
    KvlApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
