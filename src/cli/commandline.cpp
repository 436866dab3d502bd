#include "cli/commandline.h"

namespace kvl::cli {

namespace {

struct OptionHelp {
    const char16_t *name;
    const char16_t *text;
};

constexpr OptionHelp OptionsHelp[] = {
    {u"--home DIR", u"the program folder (Setting.dat, LogFile.Log, ComPorts.ini, ...)"},
    {u"--device NAME", u"click the first device of the tree with this name"},
    {u"--index N", u"click the device in slot N"},
    {u"--yes", u"answer Yes to every question (otherwise every question is answered No)"},
    {u"--status", u"also print every write to a status panel"},
    {u"--rx", u"also print every received line"},
    {u"--help", u"show this help"},
    {u"--version", u"show the version"},
};

// Splits "--home=DIR" into the option and its value.
bool splitInlineValue(QString &option, QString &value)
{
    const qsizetype eq = option.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    value = option.mid(eq + 1);
    option.truncate(eq);
    return true;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, const OperationTable &table)
{
    CommandLine cl;
    auto fail = [&cl](const QString &error) {
        cl.error = error;
        return cl;
    };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString token = arguments.at(i);

        if (token.startsWith(u"--")) {
            QString value;
            const bool inlineValue = splitInlineValue(token, value);
            const bool takesValue = token == u"--home" || token == u"--device" || token == u"--index";
            if (inlineValue && !takesValue)
                return fail(QStringLiteral("option %1 takes no value").arg(token));
            if (takesValue && !inlineValue) {
                if (i + 1 >= arguments.size())
                    return fail(QStringLiteral("option %1 needs a value").arg(token));
                value = arguments.at(++i);
            }

            if (token == u"--home") {
                cl.home = value;
            } else if (token == u"--device") {
                Selection s;
                s.name = value;
                s.beforeOperation = int(cl.invocations.size());
                cl.selections.append(s);
            } else if (token == u"--index") {
                bool ok = false;
                const int slot = value.toInt(&ok);
                if (!ok)
                    return fail(QStringLiteral("--index needs a slot number, not \"%1\"").arg(value));
                Selection s;
                s.bySlot = true;
                s.slot = slot;
                s.beforeOperation = int(cl.invocations.size());
                cl.selections.append(s);
            } else if (token == u"--yes") {
                cl.console.answerYes = true;
            } else if (token == u"--status") {
                cl.console.showStatus = true;
            } else if (token == u"--rx") {
                cl.console.showRx = true;
            } else if (token == u"--help") {
                cl.help = true;
            } else if (token == u"--version") {
                cl.version = true;
            } else {
                return fail(QStringLiteral("unknown option %1").arg(token));
            }
            continue;
        }

        const Operation *operation = table.find(token);
        if (!operation)
            return fail(QStringLiteral("unknown operation \"%1\"").arg(token));
        const int count = operation->argumentCount();
        if (i + count >= arguments.size())
            return fail(QStringLiteral("operation %1 needs %2")
                            .arg(operation->name, operation->arguments.join(QLatin1Char(' '))));
        Invocation invocation{operation, arguments.mid(i + 1, count)};
        i += count;
        if (operation->check) {
            const QString problem = operation->check(invocation.arguments);
            if (!problem.isEmpty())
                return fail(QStringLiteral("%1: %2").arg(operation->name, problem));
        }
        cl.invocations.append(invocation);
    }

    if (cl.invocations.isEmpty() && !cl.help && !cl.version)
        return fail(QStringLiteral("no operation given"));
    return cl;
}

QString helpText(const OperationTable &table)
{
    QStringList rows;
    rows << QStringLiteral("Usage: kvl520cli [OPTIONS] OPERATION [ARG...] [OPERATION [ARG...]]...")
         << QString()
         << QStringLiteral("Runs the operations in the order given on one session, as a user pressing")
         << QStringLiteral("the buttons one after the other. A link still up at the end is disconnected.")
         << QStringLiteral("--device and --index click a device of the tree where they stand: before the")
         << QStringLiteral("operation that follows them.")
         << QString()
         << QStringLiteral("Options:");

    constexpr qsizetype Column = 24;
    auto row = [&rows](const QString &left, const QString &text) {
        QString line = QStringLiteral("  ") + left;
        line += line.size() < Column ? QString(Column - line.size(), QLatin1Char(' '))
                                     : QStringLiteral("  ");
        rows << line + text;
    };
    for (const OptionHelp &option : OptionsHelp)
        row(QString::fromUtf16(option.name), QString::fromUtf16(option.text));

    rows << QString() << QStringLiteral("Operations:");
    for (const Operation &operation : table.all()) {
        QStringList left{operation.name};
        left += operation.arguments;
        row(left.join(QLatin1Char(' ')), operation.summary);
    }

    rows << QString()
         << QStringLiteral("Exit status: 0 when every operation with a yes/no outcome succeeded and no error")
         << QStringLiteral("was raised, 1 otherwise, 2 for a usage error (nothing is run then; a device")
         << QStringLiteral("that is not in the tree when its click comes ends the run there).");
    return rows.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace kvl::cli
