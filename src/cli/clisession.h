#pragma once
// One console run: the session with everything the main window would own (the device
// registry, the device tree with the setup page, the serial port and link) and the
// console's hooks. Operations run on it one after the other, as a user pressing buttons.

#include "app/errorlog.h"
#include "app/session.h"
#include "cli/commandline.h"
#include "cli/consolehooks.h"
#include "cli/operations.h"
#include "link/qtserialport.h"
#include "link/seriallink.h"
#include "registry/deviceregistry.h"
#include "registry/devicetreeactions.h"

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
    // does, so that a modem hangs up.
    void disconnectAtEnd();

    // An error reached the error handler during this run (start-up included).
    bool errorRaised() const { return m_errorRaised; }

    // A line for standard error, prefixed with the program's name.
    void note(const QString &text);

    ConsoleOutput &out;
    ConsoleHooks hooks;
    DeviceRegistry registry;
    Session session;
    QtSerialPort port;
    SerialLink link{session, port};
    DeviceTreeActions deviceTree{session};

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

    ConsoleOutput *m_notes = nullptr;
    bool m_errorRaised = false;
};

} // namespace kvl::cli
