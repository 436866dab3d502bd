#pragma once
// The program page (tabProg): the button bar with the program bar, then the program memo
// and the reply memo side by side.
//
// The program text lives in the core (receive view 1 of session.Views), where Prog Send,
// Prog Run and Save to PC read it. The memo widget and that copy are kept in step both
// ways: every edit of the user replaces the core's lines at once, and lines the core
// appends, clears or replaces (Prog Down, the wizard, Clear) show in the widget.

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
    QPushButton *Btn_PROGDOWN = nullptr;      // "Prog Down": the program read from the logger
    QPushButton *Btn_PROGWRITE = nullptr;     // "Prog Send": the memo written to the logger
    QPushButton *Btn_RUN = nullptr;           // "Prog Run": the memo's lines run from the PC
    QPushButton *Btn_Stop_Flag = nullptr;     // "Stop Run"
    QPushButton *Btn_Program_Clear = nullptr; // "Clear": both memos emptied
    QPushButton *SpeedButton3 = nullptr;      // "Save to PC"
    QPushButton *SpeedButton21 = nullptr;     // "Wizard" (the wizard window is not there yet)
    QPushButton *Btn_TiemSet = nullptr;       // "Time SET": the logger clock from the PC clock
    QPushButton *btn_Reset = nullptr;         // "Reset": resets the logger
    QProgressBar *pgbProgram = nullptr;
    ReceiveView *Memo_RX_PROG = nullptr; // the program text (receive view 1), edited by the user
    ReceiveView *Memo_RX_Buff = nullptr; // the logger's replies (receive view 9)

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void layoutPage();
    // The widget's text changed: when it differs from the core's lines (the user edited
    // it), the core takes the widget's lines.
    void programMemoChanged();
    // A view was replaced in the core: the widget shows the new lines.
    void showReplacedView(int view);

    Session &m_session;
    // Set while the page itself writes one side from the other, so neither echoes.
    bool m_syncing = false;
};

} // namespace kvl
