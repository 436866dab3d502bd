#pragma once
// The download page (tabDownload): the logger's file tree and the two download views.

#include <QWidget>

class QHBoxLayout;
class QProgressBar;
class QTreeWidget;

namespace kvl {

class ReceiveView;
class Session;

class DownloadPage : public QWidget {
    Q_OBJECT
public:
    explicit DownloadPage(Session &session, QWidget *parent = nullptr);

    QTreeWidget *trvFilelist = nullptr; // files on the logger
    ReceiveView *mmoDown1 = nullptr;    // upper download view (receive view 5)
    ReceiveView *mmoDown2 = nullptr;    // lower download view (receive view 6)
    QWidget *barDownload = nullptr;     // the page's buttons, between the two views
    QHBoxLayout *barLayout = nullptr;
    QProgressBar *pgbDown = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutPage();
    Session &m_session;
};

} // namespace kvl
