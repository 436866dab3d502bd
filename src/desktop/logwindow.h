#pragma once
// The communication log window (TFmLogMessage, captioned "MessageBox"): every command line
// sent, with its send time, in the TX list, and every line received in the RX list.
//
// While it exists it is the session's traffic log: it attaches itself when it is made and
// detaches when it closes, and closing destroys it, so a new window starts empty. The
// lists are not limited: lines are collected and appended in batches (as the pages'
// receive views do), which keeps the window responsive with hundreds of thousands of
// lines, and a list that shows its newest line keeps following new ones.

#include "app/uihooks.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QStatusBar;
class QVBoxLayout;

namespace kvl {

class ReceiveView;
class Session;

class TFmLogMessage : public QWidget, public TrafficLog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 307;
    static constexpr int ClientHeight = 513;

    // Made as a window of its own over `owner`; attaches itself to the session's traffic.
    TFmLogMessage(Session &session, QWidget *owner);
    ~TFmLogMessage() override;

    QPushButton *Pnl_LogTX = nullptr;  // "TX_Message": only the TX list
    QPushButton *Pnl_LogRX = nullptr;  // "RX_Message": only the RX list
    QPushButton *Pnl_Close = nullptr;  // "Close"
    QPushButton *Panel4 = nullptr;     // "MessageClear": empties both lists
    ReceiveView *Log_TX = nullptr;
    ReceiveView *Log_RX = nullptr;
    QStatusBar *StatusBar1 = nullptr;

    // TrafficLog: the TX entry comes formatted ("yyyy-mm-dd hh:mm:ss: command"); the RX
    // line is the received line as it is.
    void appendTx(const QString &entry) override;
    void appendRx(const QString &line) override;

    void Pnl_LogTXClick();
    void Pnl_LogRXClick();
    void Pnl_CloseClick();
    void Panel4Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Shows one list over the whole list area and hides the other.
    void showOnly(ReceiveView *shown, ReceiveView *hidden);
    void detach();

    Session &m_session;
    QVBoxLayout *m_lists = nullptr;
};

} // namespace kvl
