#pragma once
// The logger's storage: a root folder with files and folders, the folders holding files
// only (the logger keeps its data one level deep, in SL<logger number>). Paths are the
// logger's: "\" separates, a leading "\" starts at the root, anything else is relative to
// the current folder, and ".." is the root. Names are listed as stored and found without
// regard to case, as the logger's file system does. Files are bytes with CR LF line ends.

#include <QByteArray>
#include <QList>
#include <QString>

namespace loggersim {

class LoggerFiles {
public:
    // The built-in storage: PROG.TXT (a short program) in the root, the data folder
    // SL<logId> with the four data files CR<logId>0/1.TXT (dataLines measurements each, a
    // line split over the two files as a logger with many channels writes it) and
    // SL<logId>0/1.TXT (the latest quarter of them), and a SYS folder. The data lines
    // carry the logger's year `year` ("08/05/12 10:00:00,+1.234,...").
    static LoggerFiles builtIn(const QString &logId, const QString &year, int dataLines);
    // The files of a host folder and of its subfolders (one level); false with the
    // reason when the folder cannot be read.
    static bool fromHostFolder(const QString &hostFolder, LoggerFiles *out, QString *error);

    // "\" for the root, "\SL01" for a folder.
    QString currentFolder() const;
    // Changes the current folder; false (and no change) when there is no such folder.
    bool changeFolder(const QString &path);
    // The current folder as the logger lists it: "[.]", "[..]", then "[NAME]" for each
    // folder and "NAME(size)" for each file, in the order they were made.
    QList<QByteArray> listing() const;

    // The file's bytes, or nullptr when there is no such file.
    const QByteArray *file(const QString &path) const;
    bool remove(const QString &path);
    // Makes the file empty, creating it when its folder exists; false when it does not.
    bool create(const QString &path);
    // Appends to an existing file; false when there is none.
    bool append(const QString &path, const QByteArray &bytes);

    void addFolder(const QString &name);
    // Adds a file to the root (folder empty) or to a folder added before.
    void addFile(const QString &folder, const QString &name, const QByteArray &bytes);

private:
    struct File {
        QString name;
        QByteArray bytes;
    };
    struct Folder {
        QString name; // empty for the root
        QList<File> files;
    };

    // The folder a path's last component lives in, and that component; false when a
    // folder on the way does not exist.
    bool resolve(const QString &path, int *folder, QString *name) const;
    int findFolder(const QString &name) const;
    File *findFile(int folder, const QString &name);
    const File *findFile(int folder, const QString &name) const;

    QList<Folder> m_folders{Folder{}}; // [0] is the root
    int m_current = 0;
};

} // namespace loggersim
