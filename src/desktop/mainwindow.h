#pragma once
// The main window of the desktop program (fKVL520_Main): it owns the session, the device
// registry, the serial port and its link, every page, the five timers and the status bar,
// and it is the session's front end (status panels, dialogs, receive views, progress bars,
// busy cursor). It runs the two connection timers that the connect button switches.

#include "app/session.h"
#include "connection/supervision.h"
#include "registry/deviceregistry.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;

namespace kvl {

class DeviceTreeActions;
class DeviceTreeView;
class DownloadPage;
class NamedProgressBars;
class OverrideBusyCursor;
class Page3DS;
class PageLineSinks;
class ProgramPage;
class SerialLink;
class SerialPort;
class SetupPage;
class StatusBarPanels;
class TerminalPage;
class TFmLogMessage;
class WidgetDialogs;

class TfKVL520_Main : public QMainWindow, public ConnectionTimers {
    Q_OBJECT
public:
    static constexpr int MinimumWidth = 1100;
    static constexpr int StartClientWidth = 1289;
    static constexpr int StartClientHeight = 718;

    // port: the serial port to drive; none means the system's real port. The window does
    // not own a port it is given.
    explicit TfKVL520_Main(const QString &programFolder, SerialPort *port = nullptr,
                           QWidget *parent = nullptr);
    ~TfKVL520_Main() override;

    Session &session() { return m_session; }
    DeviceRegistry &deviceRegistry() { return m_registry; }
    SerialLink &link() { return *m_link; }
    StatusBarPanels &statusPanels() { return *m_panels; }
    PageLineSinks &lineSinks() { return *m_sinks; }
    DeviceTreeActions &treeActions() { return *m_actions; }
    // The communication log window while it exists (closing it destroys it).
    TFmLogMessage *logWindow() const;

    // Top bar.
    QLabel *imgconnect = nullptr;
    QLabel *imgdisConnect = nullptr;
    QToolButton *btnConnectTap = nullptr;
    QToolButton *btnSetupTap = nullptr;
    QToolButton *btnDownloadTap = nullptr;
    QToolButton *btnProgramTap = nullptr;
    QToolButton *btnLogMsg = nullptr;
    QToolButton *btn3DSChart = nullptr;
    QToolButton *btnUpdate = nullptr;
    QToolButton *SpeedButton17 = nullptr;
    QLabel *lbeSelectedDeviceName = nullptr;

    // Device bar.
    QFrame *Panel1 = nullptr;
    QPushButton *btnDeviceAdd = nullptr;
    QPushButton *btnDeviceSubAdd = nullptr;
    QPushButton *btnDeviceDel = nullptr;
    QToolButton *btnAllStop = nullptr;
    QLabel *lbeDeviceInfo = nullptr;

    // Device tree and pages.
    QLabel *lbeClickName = nullptr;
    DeviceTreeView *ProjectView = nullptr;
    QTabWidget *PageControl1 = nullptr;
    SetupPage *tabSetup = nullptr;
    ProgramPage *tabProg = nullptr;
    DownloadPage *tabDownload = nullptr;
    Page3DS *tab3DS = nullptr;
    TerminalPage *tabTerminal = nullptr;

    // Timers.
    QTimer *tmrNow = nullptr;            // 200 ms: the PC clock on the setup page
    QTimer *tmrMonitoring = nullptr;     // 10 ms: connection state display
    QTimer *tmrConnectIng = nullptr;     // 300 ms: blinking while connecting
    QTimer *tmrScheduleMaster = nullptr; // 1000 ms: scheduled download
    QTimer *tmr3DSCal = nullptr;         // 5000 ms: periodic 3DS computation

    // The connect button's switches of tmrConnectIng and tmrMonitoring. Once the window
    // is closing, its timers stay stopped.
    void setBlinking(bool on) override;
    void setMonitoring(bool on) override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildTopBar(QWidget *parent);
    void buildDeviceBar(QWidget *parent);
    void buildTimers();
    void wireHandlers();
    void centreOnScreen();

    void FormShow();
    // The labels and the caption that show the current device.
    void showDeviceLabels();
    // Makes a new communication log window (hidden), which records the traffic from then on.
    void createLogWindow();
    // Loads the terminal page's saved send lines.
    void loadTerminalSendLines();
    // Saves the terminal page's send lines.
    void saveTerminalSendLines();

    // Handlers (each runs inside kvl::guarded).
    void btnConnectTapClick();
    void btnSetupTapClick();
    void btnDownloadTapClick();
    void btnProgramTapClick();
    void btnLogMsgClick();
    void btn3DSChartClick();
    void btnUpdateClick();
    void SpeedButton17Click();
    void btnDeviceAddClick();
    void btnDeviceSubAddClick();
    void btnDeviceDelClick();
    void btnAllStopClick();
    // Shows the link state that a monitoring tick returned in the top bar.
    void showConnection(const ConnectionDisplay &display);
    void tmrNowTimer();
    void tmrMonitoringTimer();
    void tmrConnectIngTimer();
    void tmrScheduleMasterTimer();
    void tmr3DSCalTimer();

    Session m_session;
    DeviceRegistry m_registry;
    std::unique_ptr<SerialPort> m_ownPort;
    SerialPort *m_port = nullptr;
    std::unique_ptr<SerialLink> m_link;
    std::unique_ptr<StatusBarPanels> m_panels;
    std::unique_ptr<WidgetDialogs> m_dialogs;
    std::unique_ptr<PageLineSinks> m_sinks;
    std::unique_ptr<NamedProgressBars> m_progress;
    std::unique_ptr<OverrideBusyCursor> m_busy;
    std::unique_ptr<DeviceTreeActions> m_actions;
    QPointer<TFmLogMessage> m_log;
    bool m_shown = false;
    bool m_closing = false;
};

} // namespace kvl
