#pragma once
// The console's operations, found by name in a table. Each entry names the operation, the
// arguments it takes (their count is fixed) and the handler that runs it on the session,
// so a new operation is one table entry and one handler.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kvl::cli {

class CliSession;

// true or false for an operation with a Boolean outcome (it decides the exit status),
// nothing for the others.
using Outcome = std::optional<bool>;

struct Operation {
    QString name;
    QStringList arguments; // placeholders shown by --help; their count is the argument count
    QString summary;       // one line for --help
    std::function<Outcome(CliSession &cli, const QStringList &args)> run;
    // Optional: looks at the arguments before anything runs and returns the usage error,
    // or an empty text when they are fine.
    std::function<QString(const QStringList &args)> check;

    int argumentCount() const { return int(arguments.size()); }
};

class OperationTable {
public:
    void add(Operation operation);
    const Operation *find(QStringView name) const;
    const QList<Operation> &all() const { return m_operations; }

private:
    QList<Operation> m_operations;
};

// Every operation of kvl520cli, in the order --help lists them.
const OperationTable &standardOperations();

// The operations of one area, each adding its entries to the table.
void addRegistryOperations(OperationTable &table);
void addLinkOperations(OperationTable &table);

} // namespace kvl::cli
