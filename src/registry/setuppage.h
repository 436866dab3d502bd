#pragma once
// The device settings panel of the setup page as state: the text, check mark, enabled
// flag, list items and caption of each control. The desktop page shows and edits it, the
// console sets it, and the device tree operations fill it from a device's record and
// build records from it. Programmatic fills (setText, showRecord) never run the modem
// type defaults; only the user's edits (userSetText) do.

#include "registry/setup.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <optional>

namespace kvl {

class SetupPageModel : public QObject {
    Q_OBJECT
public:
    // The controls, named as on the page. ckbSchedule is the check box "Schedule Download".
    enum Control {
        clbModemType,
        clbLogID,
        cbbPortno,
        cbbBaudrate,
        edtParity,
        edtStopbits,
        edtModemNo,
        edtCommand1,
        edtCallCmd,
        edtDisconnect,
        ckbSchedule,
        ckb3DSCal,
        ckbSensorNoCheck,
        ckbDeleteData,
        ckbAppendData,
        edtInterval,
        edtDelay,
        edtSaveFolder,
        edtSaveFile1,
        edtSaveFile2,
    };
    Q_ENUM(Control)
    static constexpr int ControlCount = edtSaveFile2 + 1;

    explicit SetupPageModel(QObject *parent = nullptr);

    static bool isCheckBox(Control control);
    static QString controlName(Control control); // "clbModemType", ...
    // The control that shows a record field named as in the record ("LogID", "ModemType",
    // "COMPORT", "intervalMin", "_3DSCal", ...); none for a field the page does not show.
    static std::optional<Control> controlForField(const QString &field);

    QString text(Control control) const;
    bool checked(Control control) const;
    bool isEnabled(Control control) const;
    QStringList items(Control control) const; // the drop-down lists
    // The caption of edtModemNo, edtCommand1, edtCallCmd and edtDisconnect (they change
    // with the "TCP/IP" type); empty for other controls.
    QString label(Control control) const;

    // Programmatic changes. Each emits controlChanged when something changed.
    void setText(Control control, const QString &text);
    void setChecked(Control control, bool on);
    void setItems(Control control, const QStringList &items); // e.g. the found COM ports

    // The user's edits: refused (false) on a disabled control. A new text of clbModemType
    // or cbbBaudrate runs ModemTypeChange with the modem type text (also when unchanged).
    bool userSetText(Control control, const QString &text);
    bool userSetChecked(Control control, bool on);
    // A record field's control set by the user: text fields take the value as typed;
    // check boxes take "1"/"0" (or "true"/"false"). False for an unknown field, a value
    // a check box cannot take, or a disabled control.
    bool userSetField(const QString &field, const QString &value);

    // The modem type defaults: labels, port values and the three modem commands for a
    // type text. An empty text changes nothing.
    void ModemTypeChange(const QString &typeText);
    // true enables the device settings controls; false clears (texts empty, boxes
    // unchecked) and disables them. clbLogID is never affected.
    void SetupEnable(bool enable);

    // Fills the page from a device's record (the device part of showing a node).
    void showRecord(const Setup &record);
    // The record the page describes for a device of this name: every page field, each
    // string cut to its capacity, COMPORT/intervalMin/DelayMin read as numbers (0/60/5
    // when not numeric), Communication from the modem type, IP/Port empty, CheckSum false,
    // _3DSSetPath = program folder + "s3DS_" + the stored name + ".dat". Tree position,
    // 3DS result folder/name and the record image are left for the caller.
    Setup recordFromPage(const QString &name, const QString &programFolder) const;
    // A new device's record: "NewDevice" with port 0 at 115200/None/1, the page's modem
    // texts, check boxes, interval and delay, data in program folder + "Data" + separator,
    // file names "NewDevice" and "NewDevice_backup".
    Setup newDeviceRecord(const QString &programFolder, bool threeDSCal) const;

    // "COM12" -> 12, "7" -> 7, "No COM Port" -> 0: an upper-cased text containing "COM" is
    // read from its fourth character on, any other as a whole.
    static qint32 portNumber(const QString &portText);
    // The text as a decimal number, or the fallback when it is not one.
    static qint32 numberOr(const QString &text, qint32 fallback);

signals:
    void controlChanged(SetupPageModel::Control control);

private:
    struct State {
        QString text;
        bool checked = false;
        bool enabled = true;
        QStringList items;
        QString label;
    };
    State &state(Control control) { return m_controls[static_cast<size_t>(control)]; }
    const State &state(Control control) const { return m_controls[static_cast<size_t>(control)]; }
    void setLabel(Control control, const QString &label);

    std::array<State, ControlCount> m_controls;
};

} // namespace kvl
