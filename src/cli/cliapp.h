#pragma once
#include <QStringList>

class QTextStream;

namespace kvl::cli {

// Runs kvl520cli with the given arguments (without the program name), printing to out
// and err. Returns the exit status: 0 all went well, 1 an operation failed or an error
// was raised, 2 a usage error (then nothing ran, except the operations before a click on
// a device that is not in the tree at that point).
int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace kvl::cli
