#pragma once
// The command line: kvl520cli [OPTIONS] OPERATION [ARG...] [OPERATION [ARG...]]...
// Operations are recognised from the operation table and take exactly their number of
// arguments, so an argument may look like anything (also like an option). Options may
// stand before the first operation and wherever the next operation's name is expected.

#include "cli/consolehooks.h"
#include "cli/operations.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kvl::cli {

// A --device or --index choice: a click on a tree node, made where it stands on the
// command line (before the operation that follows it, or after the last one).
struct Selection {
    bool bySlot = false;
    QString name; // --device NAME
    int slot = -1; // --index N: the node's absolute index
    int beforeOperation = 0; // the number of operations given before it
};

struct Invocation {
    const Operation *operation = nullptr;
    QStringList arguments;
};

struct CommandLine {
    QString home;
    bool help = false;
    bool version = false;
    ConsoleSettings console;
    QList<Selection> selections;
    QList<Invocation> invocations;
    // Not empty: a usage error; nothing may run.
    QString error;
};

// arguments: the command line without the program name.
CommandLine parseCommandLine(const QStringList &arguments, const OperationTable &table);

// The --help text.
QString helpText(const OperationTable &table);

} // namespace kvl::cli
