#pragma once
#include <QString>

namespace kvl {

// Starts the executable at path with no arguments, detached; returns its process id, or 0
// when it cannot be started. Does not wait.
qint64 ExecNewProcess(const QString &path);

} // namespace kvl
