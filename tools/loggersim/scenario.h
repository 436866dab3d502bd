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
    // --- the logger ---
    // Named failure mode "silent": the logger receives and counts every line but answers
    // none of them (a modem in front of it still answers its own commands).
    bool silent = false;
    // The logger number it answers to ("01"); empty answers every number.
    QString logId;
    // The two-digit year its clock replies report. The logger's own clock reports 08;
    // the PC rewrites that year to its own when the line arrives.
    QString year = QStringLiteral("08");

    // --- its files ---
    // A host folder whose files (and one level of subfolders) become the logger's files,
    // read once at start; changes stay in the simulator. Empty: the built-in files (a
    // program, the data folder SL<logger number> with generated measurements, SYS).
    QString files;
    // Lines in each built-in "CR" data file; the "SL" files hold the latest quarter.
    int dataLines = 24;
    // Named failure mode "cut file": fread sends only this many bytes of a file (-1: all).
    int cutFileAt = -1;
    // Named failure mode "Fputs error": the N-th Fputs line of the run is refused with
    // ERROR and not written (0: never).
    int fputsErrorAt = 0;
    // Measurement lines ("#R011 D MV 2S;") are answered after their delay token times
    // this factor (0: at once).
    double measureScale = 1.0;

    // --- the serial line ---
    // Bits per second the replies are paced at (ten bits a byte). 0 sends at once; -1
    // (the default) follows the rate the program set on the line.
    int baud = -1;

    // --- a modem in front of the logger ---
    enum class Modem { None, At, Mrx417 };
    Modem modem = Modem::None;
    // Named failure modes of the dial: the modem answers CONNECT (connect), NO CARRIER
    // (nocarrier), ERROR (error) or nothing (silent).
    enum class Dial { Connect, NoCarrier, Error, Silent };
    Dial dial = Dial::Connect;
    // How long the modem takes to report the outcome of a dial.
    int dialDelayMs = 0;
    // Named failure mode "carrier loss": after this many logger commands through a call
    // the modem reports NO CARRIER and passes nothing on until the next dial (0: never).
    int carrierLossAfter = 0;

    // Reads FILE; on failure returns false and says why in *error (file, line, reason).
    bool load(const QString &fileName, QString *error);
    // Applies one key; false (with the reason) for an unknown key or a bad value.
    bool set(const QString &key, const QString &value, QString *error);

    static QStringList knownKeys();
};

} // namespace loggersim
