#include "cli/cliapp.h"

#include "cli/clisession.h"
#include "cli/commandline.h"

#include <QTextStream>

namespace kvl::cli {

namespace {

constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

int usageError(QTextStream &err, const QString &problem)
{
    err << "kvl520cli: " << problem << '\n' << "Try 'kvl520cli --help'.\n";
    err.flush();
    return ExitUsage;
}

} // namespace

int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const OperationTable &operations = standardOperations();
    const CommandLine cl = parseCommandLine(arguments, operations);
    if (!cl.error.isEmpty())
        return usageError(err, cl.error);
    if (cl.help) {
        out << helpText(operations);
        out.flush();
        return 0;
    }
    if (cl.version) {
        out << "kvl520cli " << KVL_VERSION_TEXT << '\n';
        out.flush();
        return 0;
    }

    ConsoleOutput output(out);
    CliSession cli(output, cl.console, cl.home);
    for (const Selection &selection : cl.selections) {
        if (!cli.select(selection)) {
            return usageError(err, selection.bySlot
                                       ? QStringLiteral("unknown device: no device in slot %1").arg(selection.slot)
                                       : QStringLiteral("unknown device \"%1\"").arg(selection.name));
        }
    }

    bool allSucceeded = true;
    for (const Invocation &invocation : cl.invocations) {
        // A later operation runs even when an earlier one failed, as in the window.
        if (!cli.run(*invocation.operation, invocation.arguments))
            allSucceeded = false;
    }
    cli.disconnectAtEnd();
    return allSucceeded && !cli.errorRaised() ? 0 : ExitFailed;
}

} // namespace kvl::cli
