#pragma once
// The download page (tabDownload): the logger's file tree with "File List" and "Del File"
// above it, the two download views, and between them the download buttons and the
// download bar. The file tree lives here; the page's actions run on it.

#include "desktop/filetreeview.h"
#include "logger/filetree.h"

#include <QWidget>

class QHBoxLayout;
class QProgressBar;
class QPushButton;

namespace kvl {

class DeviceTreeModel;
class ReceiveView;
class Session;

class DownloadPage : public QWidget {
    Q_OBJECT
public:
    explicit DownloadPage(Session &session, QWidget *parent = nullptr);
    ~DownloadPage() override;

    // The device tree whose selected node decides whether "File List" and "Del File" may
    // run: not on a group (a node with children), nor with no node selected. Without one
    // only the selected device counts.
    void setDeviceTree(const DeviceTreeModel *devices) { m_devices = devices; }

    FileTree &fileTree() { return m_files; }

    QWidget *barFiles = nullptr;        // "File List" and "Del File", above the file tree
    QPushButton *btnFileList = nullptr;
    QPushButton *btnDelFile = nullptr;
    FileTreeView *trvFilelist = nullptr; // files on the logger
    ReceiveView *mmoDown1 = nullptr;    // upper download view (receive view 5)
    ReceiveView *mmoDown2 = nullptr;    // lower download view (receive view 6)
    QWidget *barDownload = nullptr;     // the download buttons, between the two views
    QHBoxLayout *barLayout = nullptr;
    QPushButton *btnAllDataDown = nullptr;
    QPushButton *btnLastDown = nullptr;
    QPushButton *btnDeleteDataAll = nullptr;
    QPushButton *btnDownClear = nullptr;
    QProgressBar *pgbDown = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutPage();
    // True when the device tree's selection is no logger: no node, or a group.
    bool selectionIsNoLogger() const;
    void btnFileListClick();
    void btnDelFileClick();
    void trvFilelistDblClick();
    // A download view's lines were replaced in the core: the widget shows them.
    void showReplacedView(int view);

    Session &m_session;
    FileTree m_files;
    const DeviceTreeModel *m_devices = nullptr;
};

} // namespace kvl
