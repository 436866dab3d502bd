#include "logger/filebrowser.h"

#include "app/session.h"
#include "link/exchange.h"
#include "link/receiveframing.h"
#include "link/serialport.h"
#include "logger/clockcommands.h"
#include "logger/filecommands.h"
#include "logger/filetree.h"
#include "logger/loggerbutton.h"
#include "logger/terminalbracket.h"

#include <optional>

namespace kvl {

namespace {

// The DIR exchange ends at the first entry line; the rest of the listing gets this long to
// arrive before the terminal view is read.
constexpr int RootListingSettleMs = 300;
constexpr int FolderListingSettleMs = 500;
// The logger needs this long to change folder.
constexpr int ChangeFolderSettleMs = 500;

const QString RootNode = QStringLiteral("[\\]");

QString withoutBrackets(QString text)
{
    text.remove(u'[');
    text.remove(u']');
    return text;
}

// The lines of the terminal view from index 1 into the tree under `parentNode`.
void addListing(Session &session, FileTree &tree, FileNode *parentNode, bool rootLineIsRootFolder)
{
    const QStringList lines = session.Views.lines(RxView::Terminal);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.contains(u"[.]") || (rootLineIsRootFolder && line.contains(u"ROOT")))
            tree.add(parentNode, RootNode);
        else if (!line.contains(u"[..]"))
            tree.add(parentNode, line);
    }
}

bool fileList(Session &session, FileTree &tree, bool selectedIsGroup, bool takeGuard)
{
    if (!loggerLinkUp(session))
        return false;
    if (session.Selected_index < 0 || selectedIsGroup)
        return false;
    std::optional<OperationGuard> guard;
    if (takeGuard) {
        guard.emplace(session);
        if (guard->refused())
            return false;
    }

    const int index = session.Selected_index;
    session.Start_flg();
    session.progress().setProgress(QStringLiteral("pgbDown"), 0);
    tree.clear();
    BusyCursorScope busy(session);
    closingTerminalModeAfter(
        session, index,
        [&] {
            session.Result = PROGRAM_COMMAND_Terminal_Mode_Close(session, index);
            if (session.Result)
                session.Result = PROGRAM_COMMAND_Terminal_Mode_Open(session, index);
            if (session.Result)
                session.Result = PROGRAM_COMMAND_ROOT(session, index);
            if (session.Result) {
                session.RxTypeIndex = RxView::Terminal;
                session.Result = PROGRAM_COMMAND_DIR(session, index);
            }
            if (session.Result) {
                session.Buff.clear();
                session.delay(RootListingSettleMs);
                tree.clear();
                addListing(session, tree, nullptr, /*rootLineIsRootFolder=*/false);
            } else {
                session.message(QStringLiteral("No Answer"));
            }
        },
        [&] { return session.Connect_flg; });
    return session.Result;
}

} // namespace

QString cutAfterExtension(const QString &path)
{
    const qsizetype dot = path.indexOf(u'.');
    return dot < 0 ? path : path.left(dot + 4);
}

QString fileNodeListedPath(const FileNode &node)
{
    if (!node.parent)
        return QStringLiteral("\\") + node.text;
    return QStringLiteral("\\") + withoutBrackets(node.parent->text) + QStringLiteral("\\") + node.text;
}

QString fileNodePath(const FileNode &node)
{
    return cutAfterExtension(fileNodeListedPath(node));
}

void FolderOpen(Session &session, FileTree &tree, const QString &nodeText)
{
    const QString folder = withoutBrackets(nodeText);
    const bool root = folder == u"\\";
    const int index = session.Selected_index;
    if (!PROGRAM_COMMAND_Terminal_Mode_Open(session, index))
        return;
    PROGRAM_COMMAND_ROOT(session, index);
    session.Buff.clear();
    session.RxTypeIndex = RxView::Terminal;
    RxTypeMemoClear(session);
    if (root)
        tree.clear();
    // From the root, so that the folder is found wherever the logger was left.
    sendCommand(session, QStringLiteral("CD ") + folder);
    session.delay(ChangeFolderSettleMs);
    session.Result = PROGRAM_COMMAND_DIR(session, index);
    if (session.Result) {
        session.Buff.clear();
        session.delay(FolderListingSettleMs);
        // Read at the end: the user may have moved the selection during the waits. After
        // the root's clear there is none, and the root listing fills the top level.
        FileNode *target = tree.selected();
        tree.removeChildren(target);
        addListing(session, tree, target, /*rootLineIsRootFolder=*/true);
    }
    if (!root)
        tree.setExpanded(tree.selected(), true);
}

bool fileListButton(Session &session, FileTree &tree, bool selectedIsGroup)
{
    return fileList(session, tree, selectedIsGroup, /*takeGuard=*/true);
}

FileTreeActionResult fileTreeDoubleClick(Session &session, FileTree &tree, const FileNodeDownload &download)
{
    OperationGuard guard(session);
    if (guard.refused())
        return {};
    BusyCursorScope busy(session);
    FileTreeActionResult result;
    auto portOpen = [&] { return session.ComPort && session.ComPort->isOpen(); };
    session.lineSinks().clearView(RxView::Terminal);
    closingTerminalModeAfter(
        session, session.Selected_index,
        [&] {
            const FileNode *node = tree.selected();
            if (!node || !portOpen() || !session.Connect_flg)
                return;
            // A Stop pressed during an earlier operation must not end this one's waits.
            session.Start_flg();
            const QString text = node->text;
            if (text.contains(u'[')) {
                result = {FileTreeAction::FolderOpened, text};
                FolderOpen(session, tree, text);
            } else if (text.contains(u".TXT")) {
                result = {FileTreeAction::DownloadRequested, fileNodeListedPath(*node)};
                session.progress().setProgress(QStringLiteral("pgbDown"), 0);
                session.RxTypeIndex = RxView::DownloadUpper;
                if (download)
                    download(result.path);
            }
        },
        portOpen);
    return result;
}

bool delFileButton(Session &session, FileTree &tree, bool selectedIsGroup)
{
    if (!loggerLinkUp(session))
        return false;
    const FileNode *node = tree.selected();
    // A folder node ("[SL01]", "[\]") names no file to delete: nothing is sent.
    if (session.Selected_index < 0 || !node || node->text.contains(u'['))
        return false;
    OperationGuard guard(session);
    if (guard.refused())
        return false;

    const int index = session.Selected_index;
    // Taken now: the selection may move during the waits below.
    const QString path = fileNodePath(*node);
    session.Start_flg();
    PROGRAM_COMMAND_Terminal_Mode_Close(session, index);
    if (!PROGRAM_COMMAND_Terminal_Mode_Open(session, index))
        return false;
    if (path.contains(u'~')) {
        PROGRAM_COMMAND_Terminal_Mode_Close(session, index);
        session.message(QStringLiteral(" Error - Folder name has [~]"));
        return false;
    }
    PROGRAM_COMMAND_DelEachFILE(session, index, path);
    PROGRAM_COMMAND_Terminal_Mode_Close(session, index);
    fileList(session, tree, selectedIsGroup, /*takeGuard=*/false);
    return true;
}

} // namespace kvl
