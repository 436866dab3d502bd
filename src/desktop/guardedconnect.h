#pragma once
// Every button and timer handler of the desktop runs inside kvl::guarded: an error that
// the handler does not catch ends the handler, shows in status panel 4 and goes to the
// error log, and never reaches the event loop.

#include "app/errorlog.h"
#include "app/session.h"

#include <QObject>

namespace kvl {

template <typename Sender, typename Signal, typename Action>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, QObject *context,
                                       Session &session, Action action)
{
    return QObject::connect(sender, signal, context,
                            [&session, action]() mutable { guarded(session, action); });
}

} // namespace kvl
