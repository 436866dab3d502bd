// Operations on the link and the logger: the connect/disconnect toggle, the setup page's
// connection test, the clock, the download page's file tree and downloads, and the
// program page. Each presses the button the window has for it on the same core code; what
// the window would show in a view or tree is printed.

#include "app/errorlog.h"
#include "app/textcodec.h"
#include "cli/clisession.h"
#include "cli/operations.h"
#include "connection/connectiontest.h"
#include "logger/clockcommands.h"
#include "logger/datadelete.h"
#include "logger/download.h"
#include "logger/downloadactions.h"
#include "logger/filebrowser.h"
#include "logger/programactions.h"

#include <QFile>
#include <QRegularExpression>

namespace kvl::cli {

namespace {

// ------------------------------------------------------------------ connection

Outcome connectLink(CliSession &cli, const QStringList &)
{
    if (cli.session.Connect_flg) {
        cli.note(QStringLiteral("connect: the logger is already connected, nothing done"));
        return true;
    }
    return cli.pressConnectButton();
}

Outcome disconnectLink(CliSession &cli, const QStringList &)
{
    if (!cli.session.Connect_flg) {
        cli.note(QStringLiteral("disconnect: the logger is not connected, nothing done"));
        return true;
    }
    return !cli.pressConnectButton();
}

Outcome testConnection(CliSession &cli, const QStringList &)
{
    return connectionTestButton(cli.session, connectionTestSettings(cli.deviceTree.page()));
}

// ------------------------------------------------------------------ clock

// The clock read of the selected device. The line that satisfied it is the newest one
// received when the read ended: the read returns at the first poll that finds "READ" in
// the last line.
Outcome readClock(CliSession &cli, const QStringList &)
{
    const quint64 before = cli.hooks.receivedCount();
    const bool replied = PROGRAM_COMMAND_TimeRead(cli.session, cli.session.Selected_index);
    if (replied && cli.hooks.receivedCount() != before)
        cli.out.line(QStringLiteral("clock: ") + oneLine(cli.hooks.lastReceived()));
    return replied;
}

Outcome setClock(CliSession &cli, const QStringList &)
{
    return timeSetButton(cli.session, ProgramReplyView);
}

Outcome resetLogger(CliSession &cli, const QStringList &)
{
    return resetButton(cli.session);
}

// ------------------------------------------------------------------ file tree

// File List and Del File do nothing for a group node of the device tree.
bool selectedIsGroup(const CliSession &cli)
{
    const DeviceNode *node = cli.deviceTree.tree().selected();
    return node && node->hasChildren();
}

void printNodes(CliSession &cli, const std::vector<std::unique_ptr<FileNode>> &nodes, int depth)
{
    for (const std::unique_ptr<FileNode> &node : nodes) {
        cli.out.line(QStringLiteral("node: ") + QString(2 * depth, QLatin1Char(' ')) + oneLine(node->text));
        printNodes(cli, node->children, depth + 1);
    }
}

FileNode *findNode(const std::vector<std::unique_ptr<FileNode>> &nodes, const QString &text)
{
    for (const std::unique_ptr<FileNode> &node : nodes) {
        if (node->text == text)
            return node.get();
        if (FileNode *found = findNode(node->children, text))
            return found;
    }
    return nullptr;
}

// Marks the first node in display order whose text is `text`, as a click on it does.
// False, with a note, when the tree has none.
bool selectFileNode(CliSession &cli, const QString &operation, const QString &text)
{
    FileNode *node = findNode(cli.fileTree.topLevel(), text);
    if (!node) {
        cli.note(QStringLiteral("%1: the file tree has no node \"%2\", nothing done").arg(operation, text));
        return false;
    }
    cli.fileTree.setSelected(node);
    return true;
}

Outcome listFiles(CliSession &cli, const QStringList &)
{
    const bool listed = fileListButton(cli.session, cli.fileTree, selectedIsGroup(cli));
    printNodes(cli, cli.fileTree.topLevel(), 0);
    return listed;
}

Outcome openFolder(CliSession &cli, const QStringList &args)
{
    if (!selectFileNode(cli, QStringLiteral("open"), args[0]))
        return false;
    // The listing's outcome is left in Result; a folder open that stops before its listing
    // (terminal mode refused) leaves it alone, so a stale true must not count.
    cli.session.Result = false;
    const FileTreeActionResult done = fileTreeDoubleClick(cli.session, cli.fileTree);
    return done.action == FileTreeAction::FolderOpened && cli.session.Result;
}

QString checkFolderNode(const QStringList &args)
{
    return args[0].contains(u'[') ? QString()
                                  : QStringLiteral("\"%1\" is no folder node (a folder's text has \"[\")").arg(args[0]);
}

Outcome readFile(CliSession &cli, const QStringList &args)
{
    if (!selectFileNode(cli, QStringLiteral("fread"), args[0]))
        return false;
    bool complete = false;
    fileTreeDoubleClick(cli.session, cli.fileTree,
                        [&cli, &complete](const QString &listedPath) { complete = FileDown(cli.session, listedPath); });
    for (const QString &line : cli.session.Views.lines(RxView::DownloadUpper))
        cli.out.line(QStringLiteral("line: ") + oneLine(line));
    return complete;
}

QString checkFileNode(const QStringList &args)
{
    return args[0].contains(u".TXT") ? QString()
                                     : QStringLiteral("\"%1\" is no file node (a file's text has \".TXT\")").arg(args[0]);
}

Outcome deleteFile(CliSession &cli, const QStringList &args)
{
    if (selectFileNode(cli, QStringLiteral("del-file"), args[0]))
        delFileButton(cli.session, cli.fileTree, selectedIsGroup(cli));
    return std::nullopt;
}

// ------------------------------------------------------------------ downloads

Outcome downloadAll(CliSession &cli, const QStringList &) { return allDownButton(cli.session); }

Outcome downloadLast(CliSession &cli, const QStringList &) { return lastDownButton(cli.session); }

Outcome deleteAllData(CliSession &cli, const QStringList &)
{
    DeleteDataAll2(cli.session, &cli.fileTree);
    return std::nullopt;
}

// ------------------------------------------------------------------ program page

void printProgramMemo(CliSession &cli)
{
    for (const QString &line : cli.session.Views.lines(RxView::Program))
        cli.out.line(QStringLiteral("prog: ") + oneLine(line));
}

Outcome downloadProgram(CliSession &cli, const QStringList &)
{
    const bool complete = progDownButton(cli.session);
    printProgramMemo(cli);
    return complete;
}

// The program memo as the user would have typed FILE into it: one memo line per line of
// the file (CR LF, LF or CR ending it), no empty line for a final line break. The file
// is text in the ANSI code page, as the program's text files are. A file that cannot be
// read is a file error: the handler reports it and the button is not pressed.
void loadProgramMemo(CliSession &cli, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw PlatformError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    const QString text = AnsiCodec::instance().decode(file.readAll());
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(lineBreak);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    cli.session.Views.setLines(RxView::Program, lines);
}

Outcome sendProgram(CliSession &cli, const QStringList &args)
{
    loadProgramMemo(cli, args[0]);
    return progSendButton(cli.session);
}

Outcome runProgram(CliSession &cli, const QStringList &args)
{
    loadProgramMemo(cli, args[0]);
    return progRunButton(cli.session);
}

} // namespace

void addLinkOperations(OperationTable &table)
{
    const QStringList node{QStringLiteral("NODE")};
    const QStringList file{QStringLiteral("FILE")};
    table.add({QStringLiteral("connect"), {},
               QStringLiteral("the connect button: connect the selected device (when not connected)"),
               connectLink, {}});
    table.add({QStringLiteral("disconnect"), {},
               QStringLiteral("the disconnect button: hang up and close the port (when connected)"),
               disconnectLink, {}});
    table.add({QStringLiteral("test"), {},
               QStringLiteral("\"Test\": try the setup page's settings of the selected device"),
               testConnection, {}});
    table.add({QStringLiteral("time-read"), {},
               QStringLiteral("read the logger clock; prints the reply as clock: LINE"),
               readClock, {}});
    table.add({QStringLiteral("time-set"), {},
               QStringLiteral("\"Time SET\": set the logger clock from the PC clock"),
               setClock, {}});
    table.add({QStringLiteral("reset"), {}, QStringLiteral("\"Reset\": reset the logger"), resetLogger, {}});
    table.add({QStringLiteral("list"), {},
               QStringLiteral("\"File List\": list the logger's root folder; prints the file tree"),
               listFiles, {}});
    table.add({QStringLiteral("open"), node,
               QStringLiteral("double click on the folder node NODE of the file tree"),
               openFolder, checkFolderNode});
    table.add({QStringLiteral("fread"), node,
               QStringLiteral("double click on the file node NODE; prints the file's lines"),
               readFile, checkFileNode});
    table.add({QStringLiteral("del-file"), node,
               QStringLiteral("\"Del File\" on the node NODE of the file tree"),
               deleteFile, {}});
    table.add({QStringLiteral("down-all"), {},
               QStringLiteral("\"All Down\": fetch the device's data files and append them to its save files"),
               downloadAll, {}});
    table.add({QStringLiteral("down-last"), {},
               QStringLiteral("\"Last Down\": fetch the device's latest data files and append them"),
               downloadLast, {}});
    table.add({QStringLiteral("del-data-all"), {},
               QStringLiteral("\"Del Data All\": delete the device's data files on the logger (asks)"),
               deleteAllData, {}});
    table.add({QStringLiteral("prog-down"), {},
               QStringLiteral("\"Prog Down\": read the logger's program; prints the program memo"),
               downloadProgram, {}});
    table.add({QStringLiteral("prog-send"), file,
               QStringLiteral("load FILE into the program memo, then \"Prog Send\""),
               sendProgram, {}});
    table.add({QStringLiteral("prog-run"), file,
               QStringLiteral("load FILE into the program memo, then \"Prog Run\""),
               runProgram, {}});
}

} // namespace kvl::cli
