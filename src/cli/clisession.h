#pragma once
// One console run: the session with everything the main window would own (the device
// registry, the serial port and link) and the console's hooks. Operations run on it one
// after the other, as a user pressing buttons.

#include "app/errorlog.h"
#include "app/session.h"
#include "cli/commandline.h"
#include "cli/consolehooks.h"
#include "cli/operations.h"
#include "link/qtserialport.h"
#include "link/seriallink.h"
#include "registry/deviceregistry.h"

namespace kvl::cli {

class CliSession {
public:
    // Sets up the session in the program folder (homeOption, else as the desktop program
    // finds it) and loads the device registry from Setting.dat.
    CliSession(ConsoleOutput &output, const ConsoleSettings &settings, const QString &homeOption);

    // --device / --index: selects a device of the registry. False when there is none by
    // that name or in that slot.
    bool select(const Selection &selection);

    // Runs one operation as its button's handler runs: an error it does not catch ends it
    // and goes to the error handler. True when it completed and its outcome, if it has
    // one, is true.
    bool run(const Operation &operation, const QStringList &arguments);

    // The end of the run: a link still up is taken down as the connect/disconnect button
    // does, so that a modem hangs up.
    void disconnectAtEnd();

    // An error reached the error handler during this run (start-up included).
    bool errorRaised() const { return m_errorRaised; }

    ConsoleOutput &out;
    ConsoleHooks hooks;
    DeviceRegistry registry;
    Session session;
    QtSerialPort port;
    SerialLink link{session, port};

private:
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

    bool m_errorRaised = false;
};

} // namespace kvl::cli
