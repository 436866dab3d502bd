#pragma once
// The terminal page (tabTerminal): free commands to the logger and its replies.

#include <QWidget>

class QHBoxLayout;
class QToolButton;

namespace kvl {

class ReceiveView;
class Session;

class TerminalPage : public QWidget {
    Q_OBJECT
public:
    explicit TerminalPage(Session &session, QWidget *parent = nullptr);

    QWidget *panelSend = nullptr;      // the send lines and command builders, left
    QWidget *barTerminal = nullptr;    // port and clear buttons, above the replies
    QHBoxLayout *barLayout = nullptr;
    QToolButton *btnComOpen = nullptr;   // "ComOpen" / "ComClose": the port by hand
    QToolButton *btnDisconnect = nullptr; // "Disconnect": hang up and close the port
    QToolButton *SpeedButton1 = nullptr; // "Time SET": the logger clock from the PC clock
    ReceiveView *mmoRxTemp = nullptr;  // the logger's replies (receive view 0)

protected:
    void resizeEvent(QResizeEvent *event) override;
    // The page brought up: the two-digit year the receive rewriting uses is refreshed.
    void showEvent(QShowEvent *event) override;

private:
    void layoutPage();
    void btnComOpenClick();
    void btnDisconnectClick();
    Session &m_session;
};

} // namespace kvl
