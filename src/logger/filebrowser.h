#pragma once
// Browsing the logger's file system from the download page: "File List" lists the root
// folder into the file tree, a double click opens a folder or asks for a file's download,
// "Del File" deletes the selected file and lists again. Every action closes the logger's
// terminal mode, opens it again, does its work and closes it at the end.
//
// Listings are read back from the terminal view (receive view 0), where the logger's
// reply lines land; its first line, the answer to the preceding "CD", is skipped.

#include <QString>

#include <functional>

namespace kvl {

class FileTree;
class Session;
struct FileNode;

// A node's path on the logger as listed: "\" + text at the top level, "\" + the parent's
// text without brackets + "\" + text below an opened folder (folders are one level deep).
// The size suffix of the listing line is still on it: \SL01\DATA.TXT(1234).
QString fileNodeListedPath(const FileNode &node);
// The same path cut three characters after its first ".": \SL01\DATA.TXT.
QString fileNodePath(const FileNode &node);
// A path cut three characters after its first "." (unchanged without a ".").
QString cutAfterExtension(const QString &path);

// Lists the folder named by a folder node's text ("[SL01]", or "[\]" for the root) under
// the selected node and expands it; the root's listing replaces the whole tree. A "[.]"
// or "ROOT" line becomes a "[\]" child, "[..]" is skipped. A successful listing replaces
// the folder's earlier entries, so opening a folder twice does not list it twice. Opens
// terminal mode itself (stops when that fails) but leaves closing it to the caller.
void FolderOpen(Session &session, FileTree &tree, const QString &nodeText);

// "File List". Not connected: " Datalogger is Unconnected". Nothing happens without a
// selected device or when the selected device-tree node is a group. Otherwise the tree
// is cleared and filled with the root listing ("[.]" as "[\]", "[..]" skipped, every
// other line as received); "No Answer" when a step fails. Terminal mode is closed at the
// end while still connected, also after an error. True when the listing came;
// session.Result holds the same.
bool fileListButton(Session &session, FileTree &tree, bool selectedIsGroup);

enum class FileTreeAction {
    Nothing,            // no node, not connected, or a node that is neither folder nor file
    FolderOpened,       // a node with "[": FolderOpen ran (it may still have failed)
    DownloadRequested,  // a node with ".TXT": path is the node's listed path
};

struct FileTreeActionResult {
    FileTreeAction action = FileTreeAction::Nothing;
    QString path;
};

// Downloads the file of a tree node, given its listed path (size suffix included). Runs
// inside the double click's operation, so it must not take an operation guard itself.
using FileNodeDownload = std::function<void(const QString &listedPath)>;

// The double click on the selected tree node: busy cursor, terminal view emptied, then a
// folder node is opened and a file node is handed to `download` (download bar reset,
// replies to the upper download view); terminal mode is closed afterwards while the
// port is open. Without a selected node, an open port or a connection only the close runs.
FileTreeActionResult fileTreeDoubleClick(Session &session, FileTree &tree,
                                         const FileNodeDownload &download = {});

// "Del File" on the selected tree node. Not connected: " Datalogger is Unconnected".
// Nothing happens without a selected device or file node; a folder node or "[\]" names
// no file, so nothing is sent for it. A path with "~" (a shortened name) is never sent
// for deletion: terminal mode is closed and " Error - Folder name has [~]" shown.
// Otherwise "CD \" and "DEL " + path, terminal mode closed, and "File List" again.
// True when the delete was sent.
bool delFileButton(Session &session, FileTree &tree, bool selectedIsGroup);

} // namespace kvl
