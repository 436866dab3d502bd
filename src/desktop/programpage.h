#pragma once
// The program page (tabProg): the logger program memo and the reply memo side by side.

#include <QWidget>

class QHBoxLayout;
class QProgressBar;
class QPushButton;

namespace kvl {

class ReceiveView;
class Session;

class ProgramPage : public QWidget {
    Q_OBJECT
public:
    explicit ProgramPage(Session &session, QWidget *parent = nullptr);

    QWidget *barProgram = nullptr;   // the page's buttons, above the memos
    QHBoxLayout *barLayout = nullptr;
    QPushButton *Btn_TiemSet = nullptr; // "Time SET": the logger clock from the PC clock
    QPushButton *btn_Reset = nullptr;   // "Reset": resets the logger
    QProgressBar *pgbProgram = nullptr;
    ReceiveView *Memo_RX_PROG = nullptr; // the program text (receive view 1), edited by the user
    ReceiveView *Memo_RX_Buff = nullptr; // the logger's replies (receive view 9)

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void layoutPage();
    Session &m_session;
};

} // namespace kvl
