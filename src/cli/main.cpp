// kvl520cli: the desktop program's operations without windows.

#include "cli/cliapp.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The serial port delivers its events through the event loop, which the waits run.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("KVL520"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KVL_VERSION_TEXT));

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return kvl::cli::runCli(arguments, out, err);
}
