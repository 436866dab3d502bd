#pragma once
// One console run: the session with everything the main window would own (the device
// registry, the device tree with the setup page, the serial port and link, the download
// page's file tree, the connection monitoring) and the console's hooks. Operations run on
// it one after the other, as a user pressing buttons.

#include "app/errorlog.h"
#include "app/session.h"
#include "cli/commandline.h"
#include "cli/consolehooks.h"
#include "cli/operations.h"
#include "connection/supervision.h"
#include "link/qtserialport.h"
#include "link/seriallink.h"
#include "logger/filetree.h"
#include "registry/deviceregistry.h"
#include "registry/devicetreeactions.h"

#include <QTimer>

namespace kvl::cli {

class CliSession {
public:
    // Sets up the session in the program folder (homeOption, else as the desktop program
    // finds it) and starts up as the window's first show does: the tree built from
    // Setting.dat, every node once through the setup page, no device current. Notes that
    // a window would not show (a refused console input) go to notes, when given.
    CliSession(ConsoleOutput &output, const ConsoleSettings &settings, const QString &homeOption,
               ConsoleOutput *notes = nullptr);

    // --device / --index: a click on the first node in display order with that name, or
    // on the node with that absolute index. False (no click) when there is none.
    bool select(const Selection &selection);
    // A click on the node at this absolute index, as the tree's click handler makes it.
    void click(int absoluteIndex);

    // Runs one operation as its button's handler runs: an error it does not catch ends it
    // and goes to the error handler. True when it completed and its outcome, if it has
    // one, is true.
    bool run(const Operation &operation, const QStringList &arguments);

    // The end of the run: a link still up is taken down as the connect/disconnect button
    // does (its message printed), so that a modem hangs up.
    void disconnectAtEnd();

    // An error reached the error handler during this run (start-up included).
    bool errorRaised() const { return m_errorRaised; }

    // A line for standard error, prefixed with the program's name.
    void note(const QString &text);

    // One tick of the connection monitoring, as the window's 10 ms timer runs it: a closed
    // port or a CARRIER line means not connected. It runs before every operation and,
    // while an operation waits (the waits run the event loop), every 10 ms.
    void monitoringTick();
    // The connect/disconnect toggle with the console's timers: no blinking, the
    // monitoring paused while a connect is in progress, as in the window.
    bool pressConnectButton();

    ConsoleOutput &out;
    ConsoleHooks hooks;
    DeviceRegistry registry;
    Session session;
    QtSerialPort port;
    SerialLink link{session, port};
    DeviceTreeActions deviceTree{session};
    FileTree fileTree; // the download page's tree of the logger's files

private:
    // The window's two connection timers as the connect button switches them.
    class MonitoringTimers final : public ConnectionTimers {
    public:
        explicit MonitoringTimers(QTimer &monitoring) : m_monitoring(monitoring) {}
        void setBlinking(bool) override {} // nothing blinks on a console
        void setMonitoring(bool on) override
        {
            if (on)
                m_monitoring.start();
            else
                m_monitoring.stop();
        }

    private:
        QTimer &m_monitoring;
    };

    // Runs an action through the error handler; false when it raised an error.
    template <typename F>
    bool guardedStep(F &&action)
    {
        bool completed = false;
        guarded(session, [&] {
            action();
            completed = true;
        });
        if (!completed)
            m_errorRaised = true;
        return completed;
    }

    ConsoleOutput *m_notes = nullptr;
    bool m_errorRaised = false;
    QTimer m_monitoring;
    MonitoringTimers m_timers{m_monitoring};
};

} // namespace kvl::cli
