#pragma once
// The setup page (tabSetup): the selected device's settings, the PC clock and the port list.

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kvl {

class Session;

class SetupPage : public QWidget {
    Q_OBJECT
public:
    explicit SetupPage(Session &session, QWidget *parent = nullptr);

    QGroupBox *grbSetup = nullptr;
    QComboBox *cbbPortno = nullptr;
    QToolButton *btnComSearch = nullptr;
    QGroupBox *grbSaveData = nullptr;
    QLineEdit *edtSaveFolder = nullptr;
    QLabel *lbeNow = nullptr;

    // Fills the port list with every present port under its COM name ("No COM Port" when
    // there is none) and selects the first.
    void ComPortSearch();

signals:
    // Ctrl+Enter in the save-folder edit: shows or hides the version maker button.
    void versionMakerSwitch();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Session &m_session;
};

} // namespace kvl
