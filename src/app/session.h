#pragma once
// The shared run-time state of one program run: what the logger operations, the receive
// handler, the timers and the pages share. The front end owns one Session and hands it
// to every operation; tests build a fresh one per case.
//
// Names follow the logger protocol's own: a leading underscore is dropped (C++ reserves
// it before a capital letter), except before a digit, where it stays because no name may
// begin with a digit: _Buff -> Buff, _Connect_flg -> Connect_flg, _3DSWriteMode stays.

#include "app/clock.h"
#include "app/receiveviews.h"
#include "app/uihooks.h"

#include <QObject>
#include <QString>

namespace kvl {

class DeviceRegistry;
class SerialLink;
class SerialPort;

class Session : public QObject {
    Q_OBJECT
public:
    // A session without a clock gets the real one (waits in the event loop).
    explicit Session(Clock *clock = nullptr, QObject *parent = nullptr);
    ~Session() override;

    // --- the front end's hooks (silent until set; not owned) ---
    void setStatusPanels(StatusPanels *panels) { m_status = panels ? panels : &m_silent; }
    void setDialogs(Dialogs *dialogs) { m_dialogs = dialogs ? dialogs : &m_silent; }
    // Extra sinks that see every receive-view append and clear (the views themselves are
    // always kept in Views).
    void setLineSinks(LineSinks *sinks) { Views.setMirror(sinks); }
    void setProgressSink(ProgressSink *progress) { m_progress = progress ? progress : &m_silent; }
    void setBusyCursor(BusyCursor *busy) { m_busy = busy ? busy : &m_silent; }
    void setClock(Clock *clock);

    StatusPanels &statusPanels() const { return *m_status; }
    Dialogs &dialogs() const { return *m_dialogs; }
    LineSinks &lineSinks() { return Views; }
    ProgressSink &progress() const { return *m_progress; }
    BusyCursor &busyCursor() const { return *m_busy; }
    Clock &clock() const { return *m_clock; }

    void status(int panel, const QString &text) { m_status->setStatus(panel, text); }
    void message(const QString &text) { m_dialogs->information(text); }
    bool question(const QString &text) { return m_dialogs->question(text); }

    // The communication log window, while one exists (TfmLog / LogMessage_flg).
    void attachTrafficLog(TrafficLog *log);
    void detachTrafficLog(TrafficLog *log);
    TrafficLog *TfmLog = nullptr;
    bool LogMessage_flg = false;

    // --- program frame ---
    QString ProgramFolder;          // where Setting.dat, LogFile.Log, ... live
    QString Version;                // the main window's designed caption
    QString LogMessage;             // the last unhandled error as logged
    QString NowYear;                // the PC's two-digit year, for the receive rewriting
    bool delay_stop_flg = false;    // ends every wait and exchange at once
    bool Stop_Flag = false;         // second stop flag of some loops
    int Selected_index = -1;        // slot of the selected device, -1 when none

    void Stop_flg();                // sets both stop flags, normal cursor
    void Start_flg();               // clears both stop flags
    void refreshNowYear();          // NowYear := two-digit year of the PC clock
    void delay(int ms);             // waits ms, ends early when delay_stop_flg is set

    // --- serial link ---
    ReceiveViews Views;             // contents of the pages' receive views
    QString Buff;                   // last complete received line, after rewriting
    QString BuffTemp;               // the line being assembled
    qint32 FileSize = 0;            // received characters, counted for downloads
    qint32 FileSizeChk = -1;        // the size the logger reported for the file asked last
    int RxTypeIndex = 0;            // which receive view gets lines
    int Time_Out = 0;               // poll counter of the running exchange
    bool Result = false;            // result flag left for callers
    bool Connect_flg = false;       // the logger link is up
    bool _3DSWriteMode = false;     // the converter is held in write mode

    // Owned by the front end (the main window owns the registry and the port).
    DeviceRegistry *DeviceInfo = nullptr;
    SerialPort *ComPort = nullptr;
    SerialLink *Link = nullptr;     // the port's settings and receive side

    // One logger operation at a time: a second one started meanwhile is refused with a
    // status text. Timers and Stop buttons keep working.
    bool operationRunning() const { return m_operationDepth > 0; }
    friend class OperationGuard;

private:
    SilentHooks m_silent;
    StatusPanels *m_status = &m_silent;
    Dialogs *m_dialogs = &m_silent;
    ProgressSink *m_progress = &m_silent;
    BusyCursor *m_busy = &m_silent;
    Clock *m_clock = nullptr;
    EventLoopClock m_realClock;
    int m_operationDepth = 0;
};

// The busy cursor for the length of an action, however it ends.
class BusyCursorScope {
public:
    explicit BusyCursorScope(Session &session) : m_session(session) { m_session.busyCursor().setBusy(true); }
    ~BusyCursorScope() { m_session.busyCursor().setBusy(false); }
    BusyCursorScope(const BusyCursorScope &) = delete;
    BusyCursorScope &operator=(const BusyCursorScope &) = delete;

private:
    Session &m_session;
};

// Held for the length of one user-started logger operation.
class OperationGuard {
public:
    explicit OperationGuard(Session &session);
    ~OperationGuard();
    OperationGuard(const OperationGuard &) = delete;
    OperationGuard &operator=(const OperationGuard &) = delete;
    // True when another operation was already running: do nothing.
    bool refused() const { return m_refused; }

private:
    Session &m_session;
    bool m_refused;
};

} // namespace kvl
