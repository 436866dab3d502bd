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
    ConsoleOutput notes(err);
    CliSession cli(output, cl.console, cl.home, &notes);

    // Clicks and operations in the order given, as a user working in the window; a later
    // operation runs even when an earlier one failed.
    bool allSucceeded = true;
    qsizetype nextSelection = 0;
    for (qsizetype i = 0; i <= cl.invocations.size(); ++i) {
        for (; nextSelection < cl.selections.size() && cl.selections[nextSelection].beforeOperation <= i;
             ++nextSelection) {
            const Selection &selection = cl.selections[nextSelection];
            if (!cli.select(selection)) {
                cli.disconnectAtEnd();
                return usageError(err, selection.bySlot
                                           ? QStringLiteral("unknown device: no device in slot %1").arg(selection.slot)
                                           : QStringLiteral("unknown device \"%1\"").arg(selection.name));
            }
        }
        if (i < cl.invocations.size() && !cli.run(*cl.invocations[i].operation, cl.invocations[i].arguments))
            allSucceeded = false;
    }
    cli.disconnectAtEnd();
    return allSucceeded && !cli.errorRaised() ? 0 : ExitFailed;
}

} // namespace kvl::cli
