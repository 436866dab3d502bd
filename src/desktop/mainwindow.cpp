#include "desktop/mainwindow.h"

#include "app/errorlog.h"
#include "desktop/desktophooks.h"
#include "desktop/devicetreeview.h"
#include "desktop/downloadpage.h"
#include "desktop/guardedconnect.h"
#include "desktop/kvlapplication.h"
#include "desktop/logwindow.h"
#include "desktop/page3ds.h"
#include "desktop/pictures.h"
#include "desktop/programpage.h"
#include "desktop/receiveview.h"
#include "desktop/setuppage.h"
#include "desktop/terminalpage.h"
#include "link/qtserialport.h"
#include "link/seriallink.h"
#include "registry/devicetreeactions.h"

#include <QCloseEvent>
#include <QScopeGuard>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace kvl {

namespace {

constexpr int ConnectionPictureSize = 40;
constexpr int PageButtonIconSize = 30;
constexpr int DeviceColumnWidth = 240;
// Status panels 3 and 4 share what panels 0 to 2 (and the frame) leave of the width.
constexpr int StatusFixedShare = 600;

QToolButton *makePageButton(QWidget *parent, const QString &name, const QString &caption, Picture picture)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(pictureIcon(picture, 2 * PageButtonIconSize));
    button->setIconSize(QSize(PageButtonIconSize, PageButtonIconSize));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(78);
    return button;
}

QLabel *makeConnectionPicture(QWidget *parent, const QString &name, Picture picture)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedSize(ConnectionPictureSize, ConnectionPictureSize);
    label->setPixmap(drawPicture(picture, ConnectionPictureSize));
    label->setToolTip(QStringLiteral("DISConnect"));
    return label;
}

QTimer *makeTimer(QObject *parent, const QString &name, int intervalMs)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(intervalMs);
    return timer;
}

} // namespace

TfKVL520_Main::TfKVL520_Main(const QString &programFolder, SerialPort *port, QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("fKVL520_Main"));
    setWindowTitle(QStringLiteral("KVL520 Ver" KVL_VERSION_TEXT));

    m_session.ProgramFolder = programFolder;
    m_session.DeviceInfo = &m_registry;
    if (!port) {
        m_ownPort = std::make_unique<QtSerialPort>();
        port = m_ownPort.get();
    }
    m_port = port;
    m_link = std::make_unique<SerialLink>(m_session, *m_port);
    m_actions = std::make_unique<DeviceTreeActions>(m_session);

    // From here on, errors that no handler catches show in this window's status bar.
    if (KvlApplication *app = KvlApplication::instance())
        app->setErrorSession(&m_session);

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(4, 2, 4, 0);
    column->setSpacing(3);
    buildTopBar(central);
    buildDeviceBar(central);

    auto *body = new QHBoxLayout;
    body->setSpacing(4);
    auto *devices = new QVBoxLayout;
    devices->setSpacing(2);
    lbeClickName = new QLabel(QStringLiteral("Device Name"), central);
    lbeClickName->setObjectName(QStringLiteral("lbeClickName"));
    lbeClickName->setFrameStyle(QFrame::Box | QFrame::Plain);
    lbeClickName->setAlignment(Qt::AlignCenter);
    lbeClickName->setStyleSheet(QStringLiteral("QLabel { color: #0000c0; font-weight: bold; padding: 3px; }"));
    ProjectView = new DeviceTreeView(*m_actions, m_session, central);
    devices->addWidget(lbeClickName);
    devices->addWidget(ProjectView, 1);
    auto *deviceColumn = new QWidget(central);
    deviceColumn->setFixedWidth(DeviceColumnWidth);
    deviceColumn->setLayout(devices);
    devices->setContentsMargins(0, 0, 0, 0);
    body->addWidget(deviceColumn);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    tabSetup = new SetupPage(m_session, *m_actions);
    tabProg = new ProgramPage(m_session);
    tabDownload = new DownloadPage(m_session);
    tabDownload->setDeviceTree(&m_actions->tree());
    tab3DS = new Page3DS(m_session);
    tabTerminal = new TerminalPage(m_session);
    PageControl1->addTab(tabSetup, QStringLiteral("Setup"));
    PageControl1->addTab(tabProg, QStringLiteral("Program"));
    PageControl1->addTab(tabDownload, QStringLiteral("download"));
    PageControl1->addTab(tab3DS, QStringLiteral("3DS"));
    PageControl1->addTab(tabTerminal, QStringLiteral("Terminal"));
    body->addWidget(PageControl1, 1);
    column->addLayout(body, 1);
    setCentralWidget(central);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    m_panels = std::make_unique<StatusBarPanels>(statusBar());
    m_dialogs = std::make_unique<WidgetDialogs>(this);
    m_dialogs->setStartFolder(programFolder);
    m_sinks = std::make_unique<PageLineSinks>();
    m_sinks->setView(0, tabTerminal->mmoRxTemp);
    m_sinks->setView(1, tabProg->Memo_RX_PROG);
    m_sinks->setView(5, tabDownload->mmoDown1);
    m_sinks->setView(6, tabDownload->mmoDown2);
    m_sinks->setView(7, tab3DS->mmo3DS_RX);
    m_sinks->setView(9, tabProg->Memo_RX_Buff);
    m_progress = std::make_unique<NamedProgressBars>(this);
    m_busy = std::make_unique<OverrideBusyCursor>();
    m_session.setStatusPanels(m_panels.get());
    m_session.setDialogs(m_dialogs.get());
    m_session.setLineSinks(m_sinks.get());
    m_session.setProgressSink(m_progress.get());
    m_session.setBusyCursor(m_busy.get());
    // The communication log window is made at start, hidden, so the traffic is recorded
    // from the first command on.
    createLogWindow();

    buildTimers();
    wireHandlers();

    setMinimumWidth(MinimumWidth);
    resize(StartClientWidth, StartClientHeight);
    centreOnScreen();
}

TfKVL520_Main::~TfKVL520_Main()
{
    if (KvlApplication *app = KvlApplication::instance(); app && app->errorSession() == &m_session)
        app->setErrorSession(nullptr);
    // The widgets behind the hooks go with the window; nothing may reach them any more.
    m_session.setStatusPanels(nullptr);
    m_session.setDialogs(nullptr);
    m_session.setLineSinks(nullptr);
    m_session.setProgressSink(nullptr);
    m_session.setBusyCursor(nullptr);
    // The log window and the pages use the session and the tree operations, which go
    // before the base class deletes the child widgets: they go first.
    delete m_log;
    delete takeCentralWidget();
}

TFmLogMessage *TfKVL520_Main::logWindow() const { return m_log; }

void TfKVL520_Main::createLogWindow()
{
    m_log = new TFmLogMessage(m_session, this);
}

void TfKVL520_Main::showDeviceLabels()
{
    const DeviceLabels &labels = m_actions->labels();
    lbeSelectedDeviceName->setText(labels.lbeSelectedDeviceName());
    lbeClickName->setText(labels.lbeClickName());
    lbeDeviceInfo->setText(labels.lbeDeviceInfo());
    lbeDeviceInfo->setVisible(labels.lbeDeviceInfoVisible());
    // The designed caption stays until a device has been shown.
    if (!labels.caption().isEmpty())
        setWindowTitle(labels.caption());
}

void TfKVL520_Main::buildTopBar(QWidget *parent)
{
    auto *bar = new QHBoxLayout;
    bar->setSpacing(2);
    imgconnect = makeConnectionPicture(parent, QStringLiteral("imgconnect"), Picture::Connected);
    imgdisConnect = makeConnectionPicture(parent, QStringLiteral("imgdisConnect"), Picture::Disconnected);
    imgconnect->hide(); // no logger is connected at start
    bar->addWidget(imgconnect);
    bar->addWidget(imgdisConnect);
    bar->addSpacing(6);

    btnConnectTap = makePageButton(parent, QStringLiteral("btnConnectTap"), QStringLiteral("Connect"), Picture::Connect);
    btnSetupTap = makePageButton(parent, QStringLiteral("btnSetupTap"), QStringLiteral("Setup"), Picture::Setup);
    btnDownloadTap = makePageButton(parent, QStringLiteral("btnDownloadTap"), QStringLiteral("Download"), Picture::Download);
    btnProgramTap = makePageButton(parent, QStringLiteral("btnProgramTap"), QStringLiteral("Program"), Picture::Program);
    btnLogMsg = makePageButton(parent, QStringLiteral("btnLogMsg"), QStringLiteral("Log_Msg"), Picture::LogMessages);
    btn3DSChart = makePageButton(parent, QStringLiteral("btn3DSChart"), QStringLiteral("3DS Chart"), Picture::Chart);
    btnUpdate = makePageButton(parent, QStringLiteral("btnUpdate"), QStringLiteral("VersionMaker"), Picture::VersionMaker);
    btnUpdate->hide(); // shown by the hidden switch of the setup page
    SpeedButton17 = makePageButton(parent, QStringLiteral("SpeedButton17"), QStringLiteral("Close"), Picture::Close);
    // Wide enough for either caption, so the toggle does not shift the buttons beside it.
    btnConnectTap->setText(QStringLiteral("Disconnect"));
    btnConnectTap->setMinimumWidth(qMax(btnConnectTap->minimumWidth(), btnConnectTap->sizeHint().width()));
    btnConnectTap->setText(QStringLiteral("Connect"));
    for (QToolButton *button : {btnConnectTap, btnSetupTap, btnDownloadTap, btnProgramTap, btnLogMsg,
                                btn3DSChart, btnUpdate, SpeedButton17})
        bar->addWidget(button);

    lbeSelectedDeviceName = new QLabel(QStringLiteral("Device Name"), parent);
    lbeSelectedDeviceName->setObjectName(QStringLiteral("lbeSelectedDeviceName"));
    QFont nameFont = lbeSelectedDeviceName->font();
    nameFont.setPixelSize(19);
    nameFont.setBold(true);
    lbeSelectedDeviceName->setFont(nameFont);
    lbeSelectedDeviceName->setAlignment(Qt::AlignCenter);
    bar->addWidget(lbeSelectedDeviceName, 1);

    static_cast<QVBoxLayout *>(parent->layout())->addLayout(bar);
}

void TfKVL520_Main::buildDeviceBar(QWidget *parent)
{
    Panel1 = new QFrame(parent);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto *bar = new QHBoxLayout(Panel1);
    bar->setContentsMargins(4, 2, 4, 2);
    bar->setSpacing(4);

    btnDeviceAdd = new QPushButton(QStringLiteral("Add"), Panel1);
    btnDeviceAdd->setObjectName(QStringLiteral("btnDeviceAdd"));
    btnDeviceSubAdd = new QPushButton(QStringLiteral("Sub Add"), Panel1);
    btnDeviceSubAdd->setObjectName(QStringLiteral("btnDeviceSubAdd"));
    btnDeviceDel = new QPushButton(QStringLiteral("Del"), Panel1);
    btnDeviceDel->setObjectName(QStringLiteral("btnDeviceDel"));
    btnAllStop = new QToolButton(Panel1);
    btnAllStop->setObjectName(QStringLiteral("btnAllStop"));
    btnAllStop->setIcon(pictureIcon(Picture::Stop, 56));
    btnAllStop->setIconSize(QSize(26, 26));
    btnAllStop->setAutoRaise(true);
    btnAllStop->setAccessibleName(QStringLiteral("Stop"));

    lbeDeviceInfo = new QLabel(QStringLiteral("Device Information"), Panel1);
    lbeDeviceInfo->setObjectName(QStringLiteral("lbeDeviceInfo"));
    lbeDeviceInfo->setStyleSheet(QStringLiteral("QLabel { color: #008000; font-weight: bold; }"));
    // Hidden while a group is shown; the buttons keep their places meanwhile.
    QSizePolicy infoPolicy = lbeDeviceInfo->sizePolicy();
    infoPolicy.setRetainSizeWhenHidden(true);
    lbeDeviceInfo->setSizePolicy(infoPolicy);

    bar->addWidget(btnDeviceAdd);
    bar->addWidget(btnDeviceSubAdd);
    bar->addWidget(btnDeviceDel);
    bar->addSpacing(12);
    bar->addWidget(btnAllStop);
    bar->addSpacing(12);
    bar->addWidget(lbeDeviceInfo, 1);

    static_cast<QVBoxLayout *>(parent->layout())->addWidget(Panel1);
}

void TfKVL520_Main::buildTimers()
{
    tmrNow = makeTimer(this, QStringLiteral("tmrNow"), 200);
    tmrMonitoring = makeTimer(this, QStringLiteral("tmrMonitoring"), 10);
    tmrConnectIng = makeTimer(this, QStringLiteral("tmrConnectIng"), 300);
    tmrScheduleMaster = makeTimer(this, QStringLiteral("tmrScheduleMaster"), 1000);
    tmr3DSCal = makeTimer(this, QStringLiteral("tmr3DSCal"), 5000);
    tmrNow->start();
    tmrMonitoring->start();
}

void TfKVL520_Main::wireHandlers()
{
    Session &s = m_session;
    connectGuarded(btnConnectTap, &QToolButton::clicked, this, s, [this] { btnConnectTapClick(); });
    connectGuarded(btnSetupTap, &QToolButton::clicked, this, s, [this] { btnSetupTapClick(); });
    connectGuarded(btnDownloadTap, &QToolButton::clicked, this, s, [this] { btnDownloadTapClick(); });
    connectGuarded(btnProgramTap, &QToolButton::clicked, this, s, [this] { btnProgramTapClick(); });
    connectGuarded(btnLogMsg, &QToolButton::clicked, this, s, [this] { btnLogMsgClick(); });
    connectGuarded(btn3DSChart, &QToolButton::clicked, this, s, [this] { btn3DSChartClick(); });
    connectGuarded(btnUpdate, &QToolButton::clicked, this, s, [this] { btnUpdateClick(); });
    connectGuarded(SpeedButton17, &QToolButton::clicked, this, s, [this] { SpeedButton17Click(); });
    connectGuarded(btnDeviceAdd, &QPushButton::clicked, this, s, [this] { btnDeviceAddClick(); });
    connectGuarded(btnDeviceSubAdd, &QPushButton::clicked, this, s, [this] { btnDeviceSubAddClick(); });
    connectGuarded(btnDeviceDel, &QPushButton::clicked, this, s, [this] { btnDeviceDelClick(); });
    connectGuarded(btnAllStop, &QToolButton::clicked, this, s, [this] { btnAllStopClick(); });
    connectGuarded(tmrNow, &QTimer::timeout, this, s, [this] { tmrNowTimer(); });
    connectGuarded(tmrMonitoring, &QTimer::timeout, this, s, [this] { tmrMonitoringTimer(); });
    connectGuarded(tmrConnectIng, &QTimer::timeout, this, s, [this] { tmrConnectIngTimer(); });
    connectGuarded(tmrScheduleMaster, &QTimer::timeout, this, s, [this] { tmrScheduleMasterTimer(); });
    connectGuarded(tmr3DSCal, &QTimer::timeout, this, s, [this] { tmr3DSCalTimer(); });
    connectGuarded(tabSetup, &SetupPage::versionMakerSwitch, this, s,
                   [this] { btnUpdate->setVisible(btnUpdate->isHidden()); });

    connect(&m_actions->labels(), &DeviceLabels::changed, this, &TfKVL520_Main::showDeviceLabels);
    connect(m_actions.get(), &DeviceTreeActions::setupPageRequested, this,
            [this] { PageControl1->setCurrentWidget(tabSetup); });
    // The 3DS calculation panel and the device's 3DS groups (hide3DSSettingRequested,
    // load3DSGroupsRequested): to come with the 3DS groups.
}

void TfKVL520_Main::centreOnScreen()
{
    if (QScreen *screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
}

// --- start, resize, close -----------------------------------------------------------

void TfKVL520_Main::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        FormShow();
    }
}

void TfKVL520_Main::FormShow()
{
    m_session.Version = windowTitle();
    m_session.Selected_index = -1;
    lbeDeviceInfo->clear();
    m_session.refreshNowYear();
    // Each step on its own: a damaged Setting.dat is reported and start-up goes on.
    // The tree is built from Setting.dat, every node goes through the page once so that
    // each has settings of its own, and no device is current until the user clicks one
    // (the mark stays on the last node). A damaged file still gives the tree of what was read.
    guarded(m_session, [this] { m_actions->startUp(); });
    m_session.Selected_index = -1;
    // Every node was marked once on the way, which opens every group.
    ProjectView->expandAll();
    if (const QModelIndex mark = m_actions->tree().indexOf(m_actions->tree().selected()); mark.isValid())
        ProjectView->scrollTo(mark);
    guarded(m_session, [this] {
        PageControl1->setCurrentWidget(tabSetup);
        m_session.status(0, QStringLiteral("Comport Close."));
        m_session.status(1, QStringLiteral("Disconnected"));
    });
    guarded(m_session, [this] { tab3DS->layoutSensorGridHeader(); });
    guarded(m_session, [this] { tabSetup->ComPortSearch(); });
    guarded(m_session, [this] { loadTerminalSendLines(); });
}

void TfKVL520_Main::loadTerminalSendLines()
{
    // The terminal page's nine send lines: to come with the terminal page.
}

void TfKVL520_Main::saveTerminalSendLines()
{
    // The terminal page's nine send lines: to come with the terminal page.
}

void TfKVL520_Main::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (width() < MinimumWidth) {
        resize(MinimumWidth, height());
        return;
    }
    // Rounded to the nearest integer, halves to even.
    const int share = int(std::lrint((width() - StatusFixedShare) / 2.0));
    m_panels->setWidth(3, share);
    m_panels->setWidth(4, share);
}

void TfKVL520_Main::closeEvent(QCloseEvent *event)
{
    // From here on the connect button's action (the disconnect below) leaves the timers off.
    m_closing = true;
    try {
        // A logger operation still waiting ends at its next poll instead of talking to a
        // logger behind a closed window.
        if (m_session.operationRunning())
            m_session.Stop_flg();
        for (QTimer *timer : {tmrNow, tmrConnectIng, tmrScheduleMaster, tmrMonitoring, tmr3DSCal})
            timer->stop();
        saveTerminalSendLines();
        if (m_session.Connect_flg && m_session.question(QStringLiteral("Do you want to disconnect?\r\n")))
            btnConnectTapClick();
    } catch (...) {
        // Closing is never refused; what fails on the way out is let go.
    }
    event->accept();
}

// --- handlers ------------------------------------------------------------------------

void TfKVL520_Main::btnConnectTapClick()
{
    // The core switches the blinking and the monitoring through this window, tells the
    // outcome in a message, and leaves the display to the next monitoring tick.
    connectButton(m_session, this);
}

void TfKVL520_Main::setBlinking(bool on)
{
    if (on && !m_closing)
        tmrConnectIng->start();
    else
        tmrConnectIng->stop();
}

void TfKVL520_Main::setMonitoring(bool on)
{
    if (on && !m_closing) {
        tmrMonitoring->start();
        return;
    }
    tmrMonitoring->stop();
    // The disconnect on closing ends with a message: the top bar behind it shows the link
    // as it is now, though the monitoring stays off.
    if (on)
        showConnection(connectionMonitoringTick(m_session));
}

void TfKVL520_Main::btnSetupTapClick()
{
    m_session.Start_flg();
    PageControl1->setCurrentWidget(tabSetup);
}

void TfKVL520_Main::btnDownloadTapClick()
{
    m_session.Start_flg();
    PageControl1->setCurrentWidget(tabDownload);
}

void TfKVL520_Main::btnProgramTapClick()
{
    m_session.Start_flg();
    PageControl1->setCurrentWidget(tabProg);
}

void TfKVL520_Main::btnLogMsgClick()
{
    m_session.Start_flg();
    // Closing the window destroyed it: a new one starts with empty lists.
    if (!m_log)
        createLogWindow();
    if (m_log->isMinimized())
        m_log->showNormal();
    else
        m_log->show();
    m_log->raise();
    m_log->activateWindow();
}

void TfKVL520_Main::btn3DSChartClick()
{
    // Show the 3DS chart window: to come with that window.
}

void TfKVL520_Main::btnUpdateClick()
{
    m_session.Start_flg();
    // Show the version maker window: to come with that window.
}

void TfKVL520_Main::SpeedButton17Click()
{
    m_session.Stop_flg();
    close();
}

void TfKVL520_Main::btnDeviceAddClick() { m_actions->btnDeviceAddClick(); }

void TfKVL520_Main::btnDeviceSubAddClick() { m_actions->btnDeviceSubAddClick(); }

void TfKVL520_Main::btnDeviceDelClick() { m_actions->btnDeviceDelClick(); }

void TfKVL520_Main::btnAllStopClick()
{
    m_session.Stop_flg();
    // A running scheduled download is stopped here too, once the schedule comes.
}

void TfKVL520_Main::tmrNowTimer()
{
    tabSetup->lbeNow->setText(m_session.clock().now().toString(QStringLiteral("hh:mm:ss")));
}

void TfKVL520_Main::tmrMonitoringTimer()
{
    // Stopped while the tick is handled, and started again however the tick ends: an error
    // in one tick must not end the monitoring.
    tmrMonitoring->stop();
    const auto restart = qScopeGuard([this] { setMonitoring(true); });
    showConnection(connectionMonitoringTick(m_session));
}

void TfKVL520_Main::showConnection(const ConnectionDisplay &display)
{
    // Status panels 0 and 1 are written by the tick itself.
    imgconnect->setVisible(display.connected);
    imgdisConnect->setVisible(!display.connected);
    btnConnectTap->setText(display.caption);
}

void TfKVL520_Main::tmrConnectIngTimer()
{
    // While a connect runs, the two pictures take turns.
    const bool connectedShown = !imgconnect->isHidden();
    imgconnect->setVisible(!connectedShown);
    imgdisConnect->setVisible(connectedShown);
}

void TfKVL520_Main::tmrScheduleMasterTimer()
{
    // Scheduled download: to come with the schedule.
}

void TfKVL520_Main::tmr3DSCalTimer()
{
    // Periodic 3DS computation: to come with the displacement computation.
}

} // namespace kvl
