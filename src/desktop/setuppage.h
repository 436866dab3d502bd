#pragma once
// The setup page (tabSetup): the selected device's settings, the PC clock and the port list.
//
// The settings panel (grbSetup) shows the setup page model of the device tree operations.
// A model change is shown in its widget; a user's edit of a widget goes to the model as
// the user's (userSetText / userSetChecked), which runs the modem type defaults where
// they apply. Programmatic widget updates never count as the user's.

#include "registry/setuppage.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace kvl {

class DeviceTreeActions;
class Session;

class SetupPage : public QWidget {
    Q_OBJECT
public:
    SetupPage(Session &session, DeviceTreeActions &actions, QWidget *parent = nullptr);

    QGroupBox *grbSetup = nullptr;
    QComboBox *clbModemType = nullptr;   // "Communication Type"
    QComboBox *clbLogID = nullptr;       // "Logger ID"
    QPushButton *btnApply = nullptr;
    QPushButton *btnTest = nullptr;
    QProgressBar *pgbTest = nullptr;
    QComboBox *cbbPortno = nullptr;
    QToolButton *btnComSearch = nullptr;
    QComboBox *cbbBaudrate = nullptr;
    QLineEdit *edtParity = nullptr;
    QLineEdit *edtStopbits = nullptr;
    QGroupBox *grbAddCommand = nullptr;
    QLineEdit *edtModemNo = nullptr;
    QLineEdit *edtCommand1 = nullptr;
    QLineEdit *edtCallCmd = nullptr;
    QLineEdit *edtDisconnect = nullptr;
    QCheckBox *ckbSchedule = nullptr;    // "Schedule Download"
    QCheckBox *ckb3DSCal = nullptr;
    QCheckBox *ckbSensorNoCheck = nullptr;
    QLineEdit *edtInterval = nullptr;
    QLineEdit *edtDelay = nullptr;
    QCheckBox *ckbDeleteData = nullptr;  // kept hidden
    QCheckBox *ckbAppendData = nullptr;  // kept hidden
    QGroupBox *grbSaveData = nullptr;
    QLineEdit *edtSaveFolder = nullptr;
    QToolButton *SpeedButton12 = nullptr;
    QLineEdit *edtSaveFile1 = nullptr;
    QLineEdit *edtSaveFile2 = nullptr;
    QLabel *lbeNow = nullptr;

    // The widget that shows a control of the model.
    QWidget *widget(SetupPageModel::Control control) const;
    // The caption beside a control whose caption follows the model (the four modem edits).
    QLabel *caption(SetupPageModel::Control control) const;

    // Fills the port list with every present port under its COM name ("No COM Port" when
    // there is none) and selects the first.
    void ComPortSearch();

public slots:
    // The connection test of the settings the page shows (they need not be applied yet).
    void btnTestClick();
    // Lets the user pick the save folder, starting at the edit's folder (or the program
    // folder when the edit names no existing folder); a cancel keeps the text.
    void SpeedButton12Click();

signals:
    // Ctrl+Enter in the save-folder edit: shows or hides the version maker button.
    void versionMakerSwitch();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSettings();
    void bindControls();
    // Shows the model's state of one control in its widget.
    void showControl(SetupPageModel::Control control);
    // A user's edit of a text control, and of a check box.
    void userText(SetupPageModel::Control control, const QString &text);
    void userChecked(SetupPageModel::Control control, bool on);
    QString widgetText(SetupPageModel::Control control) const;

    Session &m_session;
    DeviceTreeActions &m_actions;
    SetupPageModel &m_model;
    std::array<QWidget *, SetupPageModel::ControlCount> m_widgets{};
    std::array<QLabel *, SetupPageModel::ControlCount> m_captions{};
    // The control the user is editing: its widget already shows the text.
    int m_userEditing = -1;
};

} // namespace kvl
