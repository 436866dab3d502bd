#pragma once
// How the simulated logger behaves: read from a small key=value file (one "key=value" a
// line; blank lines and lines starting with '#' or ';' are comments). Every key has a
// typed field here and a line in the table of known keys in scenario.cpp; a key the table
// does not know is an error, so a mistyped key in a test fails loudly instead of leaving
// the logger in its default behaviour.

#include <QString>
#include <QStringList>

namespace loggersim {

struct Scenario {
    // Named failure mode "silent": the logger receives and counts every line but answers
    // none of them.
    bool silent = false;
    // The logger number it answers to ("01"); empty answers every number.
    QString logId;
    // The two-digit year its clock replies report. The logger's own clock reports 08;
    // the PC rewrites that year to its own when the line arrives.
    QString year = QStringLiteral("08");

    // Reads FILE; on failure returns false and says why in *error (file, line, reason).
    bool load(const QString &fileName, QString *error);
    // Applies one key; false (with the reason) for an unknown key or a bad value.
    bool set(const QString &key, const QString &value, QString *error);

    static QStringList knownKeys();
};

} // namespace loggersim
