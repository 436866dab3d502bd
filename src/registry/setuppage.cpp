#include "registry/setuppage.h"

#include "app/programfolder.h"
#include "registry/modemtype.h"

#include <QDir>
#include <QMetaEnum>

namespace kvl {

namespace {

using C = SetupPageModel::Control;

// The controls that SetupEnable clears and disables (all but clbLogID).
constexpr C EnabledByDevice[] = {
    C::cbbPortno,     C::cbbBaudrate,   C::edtParity,   C::edtStopbits,      C::edtModemNo,
    C::clbModemType,  C::edtCommand1,   C::edtCallCmd,  C::edtDisconnect,    C::ckbSchedule,
    C::ckbSensorNoCheck, C::ckbDeleteData, C::ckbAppendData, C::ckb3DSCal,    C::edtInterval,
    C::edtDelay,      C::edtSaveFolder, C::edtSaveFile1, C::edtSaveFile2,
};

struct FieldControl {
    const char16_t *field;
    C control;
};

constexpr FieldControl FieldControls[] = {
    {u"LogID", C::clbLogID},
    {u"ModemType", C::clbModemType},
    {u"COMPORT", C::cbbPortno},
    {u"Baudrate", C::cbbBaudrate},
    {u"Parity", C::edtParity},
    {u"StopBits", C::edtStopbits},
    {u"ModemNo", C::edtModemNo},
    {u"Command", C::edtCommand1},
    {u"CallCMD", C::edtCallCmd},
    {u"DiscntCMD", C::edtDisconnect},
    {u"SchDown", C::ckbSchedule},
    {u"SensorNoCheck", C::ckbSensorNoCheck},
    {u"DeleteDATAAfter", C::ckbDeleteData},
    {u"AppendData", C::ckbAppendData},
    {u"intervalMin", C::edtInterval},
    {u"DelayMin", C::edtDelay},
    {u"_3DSCal", C::ckb3DSCal},
    {u"SavePath", C::edtSaveFolder},
    {u"FileName1", C::edtSaveFile1},
    {u"FileName2", C::edtSaveFile2},
};

// The three modem commands the defaults put in for a type text.
struct ModemCommands {
    QString command;
    QString call;
    QString disconnect;
};

ModemCommands defaultCommands(const QString &type)
{
    if (type == u"H315k" || type == u"JT004")
        return {QStringLiteral("AT+CRM=129"), QStringLiteral("ATDT"), QStringLiteral("+++")};
    if (type == u"N-Warden") // carets as typed, not control characters
        return {QStringLiteral("AT+CRM=129"), QStringLiteral("ATDT"), QStringLiteral("^]+++^[")};
    if (type == u"B/T(QN305)")
        return {QStringLiteral("AT"), QStringLiteral("ATD"), QStringLiteral("ATH")};
    if (type == u"etc")
        return {QStringLiteral("Insert Command"), QStringLiteral("Insert Command"), QStringLiteral("Insert Command")};
    if (type == u"MRX-417")
        return {QStringLiteral("AT"), QStringLiteral("ATDT"), QStringLiteral("+++")};
    return {};
}

} // namespace

SetupPageModel::SetupPageModel(QObject *parent) : QObject(parent)
{
    state(clbModemType).items = {QStringLiteral("Direct"), QStringLiteral("MRX-417"),
                                 QStringLiteral("B/T(QN305)"), QStringLiteral("etc")};
    state(clbModemType).text = QStringLiteral("Direct");
    for (int id = 0; id <= 15; ++id)
        state(clbLogID).items << QStringLiteral("%1").arg(id, 2, 10, QLatin1Char('0'));
    state(clbLogID).text = QStringLiteral("ID");
    state(cbbPortno).text = QStringLiteral("COM1");
    state(cbbBaudrate).items = {QStringLiteral("9600"), QStringLiteral("115200"), QString()};
    state(cbbBaudrate).text = QStringLiteral("115200");
    state(edtParity).text = QStringLiteral("None");
    state(edtStopbits).text = QStringLiteral("1");
    state(edtModemNo).label = QStringLiteral("Phone No");
    state(edtCommand1).label = QStringLiteral("Command");
    state(edtCallCmd).label = QStringLiteral("Call Cmd");
    state(edtDisconnect).label = QStringLiteral("Disconnect");
    state(edtInterval).text = QStringLiteral("30");
    state(edtDelay).text = QStringLiteral("5");
    state(edtSaveFile1).text = QStringLiteral("CR000");
    state(edtSaveFile2).text = QStringLiteral("CR001");
}

bool SetupPageModel::isCheckBox(Control control)
{
    switch (control) {
    case ckbSchedule:
    case ckb3DSCal:
    case ckbSensorNoCheck:
    case ckbDeleteData:
    case ckbAppendData:
        return true;
    default:
        return false;
    }
}

QString SetupPageModel::controlName(Control control)
{
    return QString::fromLatin1(QMetaEnum::fromType<Control>().valueToKey(control));
}

std::optional<SetupPageModel::Control> SetupPageModel::controlForField(const QString &field)
{
    for (const FieldControl &fc : FieldControls) {
        if (field == QStringView(fc.field))
            return fc.control;
    }
    return std::nullopt;
}

QString SetupPageModel::text(Control control) const { return state(control).text; }
bool SetupPageModel::checked(Control control) const { return state(control).checked; }
bool SetupPageModel::isEnabled(Control control) const { return state(control).enabled; }
QStringList SetupPageModel::items(Control control) const { return state(control).items; }
QString SetupPageModel::label(Control control) const { return state(control).label; }

void SetupPageModel::setText(Control control, const QString &text)
{
    State &s = state(control);
    if (s.text == text)
        return;
    s.text = text;
    emit controlChanged(control);
}

void SetupPageModel::setChecked(Control control, bool on)
{
    State &s = state(control);
    if (s.checked == on)
        return;
    s.checked = on;
    emit controlChanged(control);
}

void SetupPageModel::setItems(Control control, const QStringList &items)
{
    State &s = state(control);
    if (s.items == items)
        return;
    s.items = items;
    emit controlChanged(control);
}

void SetupPageModel::setLabel(Control control, const QString &label)
{
    State &s = state(control);
    if (s.label == label)
        return;
    s.label = label;
    emit controlChanged(control);
}

bool SetupPageModel::userSetText(Control control, const QString &text)
{
    if (!isEnabled(control) || isCheckBox(control))
        return false;
    setText(control, text);
    // Both lists share the handler of the modem type list, which reads that list's text.
    // A user's choice runs it even when the text stays the same. The handler puts 9600 into
    // the baud-rate list; a rate the user has just chosen there is kept, or no other rate
    // could ever be chosen.
    if (control == clbModemType || control == cbbBaudrate)
        ModemTypeChange(this->text(clbModemType));
    if (control == cbbBaudrate)
        setText(cbbBaudrate, text);
    return true;
}

bool SetupPageModel::userSetChecked(Control control, bool on)
{
    if (!isEnabled(control) || !isCheckBox(control))
        return false;
    setChecked(control, on);
    return true;
}

bool SetupPageModel::userSetField(const QString &field, const QString &value)
{
    const std::optional<Control> control = controlForField(field);
    if (!control)
        return false;
    if (!isCheckBox(*control))
        return userSetText(*control, value);
    const QString v = value.trimmed().toLower();
    if (v == u"1" || v == u"true")
        return userSetChecked(*control, true);
    if (v == u"0" || v == u"false")
        return userSetChecked(*control, false);
    return false;
}

void SetupPageModel::ModemTypeChange(const QString &typeText)
{
    if (typeText.isEmpty())
        return;
    if (typeText == u"TCP/IP") {
        setText(edtModemNo, QString());
        setText(edtCommand1, QString());
        setText(edtCallCmd, QString());
        setText(edtDisconnect, QString());
        setLabel(edtModemNo, QStringLiteral("TCP/IP"));
        setLabel(edtCommand1, QStringLiteral("PORT"));
    } else {
        setLabel(edtModemNo, QStringLiteral("Phone No"));
        setLabel(edtCommand1, QStringLiteral("Command"));
        setLabel(edtCallCmd, QStringLiteral("Call Cmd"));
        setLabel(edtDisconnect, QStringLiteral("Disconnect"));
        setText(cbbBaudrate, QStringLiteral("9600"));
        setText(edtParity, QStringLiteral("None"));
        setText(edtStopbits, QStringLiteral("1"));
    }
    const ModemCommands commands = defaultCommands(typeText);
    setText(edtCommand1, commands.command);
    setText(edtCallCmd, commands.call);
    setText(edtDisconnect, commands.disconnect);
}

void SetupPageModel::SetupEnable(bool enable)
{
    for (Control control : EnabledByDevice) {
        State &s = state(control);
        if (!enable) {
            setText(control, QString());
            setChecked(control, false);
        }
        if (s.enabled != enable) {
            s.enabled = enable;
            emit controlChanged(control);
        }
    }
}

void SetupPageModel::showRecord(const Setup &record)
{
    setText(clbLogID, record.DeviceSet.LogID);
    setText(cbbPortno, QStringLiteral("COM") + QString::number(record.PortSet.COMPORT));
    setText(cbbBaudrate, record.PortSet.Baudrate);
    setText(edtParity, record.PortSet.Parity);
    setText(edtStopbits, record.PortSet.StopBits);
    setText(edtModemNo, record.ModemSet.ModemNo);
    setText(clbModemType, record.ModemSet.ModemType);
    setText(edtCommand1, record.ModemSet.Command);
    setText(edtCallCmd, record.ModemSet.CallCMD);
    setText(edtDisconnect, record.ModemSet.DiscntCMD);
    setChecked(ckbSchedule, record.ScheduleSet.SchDown);
    setChecked(ckbSensorNoCheck, record.ScheduleSet.SensorNoCheck);
    setChecked(ckbDeleteData, record.ScheduleSet.DeleteDATAAfter);
    setChecked(ckbAppendData, record.ScheduleSet.AppendData);
    setChecked(ckb3DSCal, record.ScheduleSet._3DSCal);
    setText(edtInterval, QString::number(record.ScheduleSet.intervalMin));
    setText(edtDelay, QString::number(record.ScheduleSet.DelayMin));
    setText(edtSaveFolder, record.SaveFileSet.SavePath);
    setText(edtSaveFile1, record.SaveFileSet.FileName1);
    setText(edtSaveFile2, record.SaveFileSet.FileName2);
}

Setup SetupPageModel::recordFromPage(const QString &name, const QString &programFolder) const
{
    namespace Cap = SetupCapacity;
    Setup r;
    r.DeviceSet.DeviceName = cutToCapacity(name, Cap::DeviceName);
    r.DeviceSet.LogID = cutToCapacity(text(clbLogID), Cap::LogID);
    r.DeviceSet.Communication = communicationForModemType(text(clbModemType));
    r.PortSet.COMPORT = portNumber(text(cbbPortno));
    r.PortSet.Baudrate = cutToCapacity(text(cbbBaudrate), Cap::Baudrate);
    r.PortSet.Parity = cutToCapacity(text(edtParity), Cap::Parity);
    r.PortSet.StopBits = cutToCapacity(text(edtStopbits), Cap::StopBits);
    r.ModemSet.ModemNo = cutToCapacity(text(edtModemNo), Cap::ModemString);
    r.ModemSet.ModemType = cutToCapacity(text(clbModemType), Cap::ModemString);
    r.ModemSet.Command = cutToCapacity(text(edtCommand1), Cap::ModemString);
    r.ModemSet.CallCMD = cutToCapacity(text(edtCallCmd), Cap::ModemString);
    r.ModemSet.DiscntCMD = cutToCapacity(text(edtDisconnect), Cap::ModemString);
    r.ScheduleSet.SchDown = checked(ckbSchedule);
    r.ScheduleSet.SensorNoCheck = checked(ckbSensorNoCheck);
    r.ScheduleSet.CheckSum = false;
    r.ScheduleSet.DeleteDATAAfter = checked(ckbDeleteData);
    r.ScheduleSet.AppendData = checked(ckbAppendData);
    r.ScheduleSet.intervalMin = numberOr(text(edtInterval), 60);
    r.ScheduleSet.DelayMin = numberOr(text(edtDelay), 5);
    r.ScheduleSet._3DSCal = checked(ckb3DSCal);
    r.SaveFileSet.SavePath = cutToCapacity(text(edtSaveFolder), Cap::SaveString);
    r.SaveFileSet.FileName1 = cutToCapacity(text(edtSaveFile1), Cap::SaveString);
    r.SaveFileSet.FileName2 = cutToCapacity(text(edtSaveFile2), Cap::SaveString);
    r._3DSSetPath = cutToCapacity(
        joinPath(programFolder, QStringLiteral("s3DS_") + r.DeviceSet.DeviceName + QStringLiteral(".dat")),
        Cap::_3DSSetPath);
    return r;
}

Setup SetupPageModel::newDeviceRecord(const QString &programFolder, bool threeDSCal) const
{
    namespace Cap = SetupCapacity;
    Setup r;
    r.DeviceSet.DeviceName = QStringLiteral("NewDevice");
    r.PortSet.Baudrate = QStringLiteral("115200");
    r.PortSet.Parity = QStringLiteral("None");
    r.PortSet.StopBits = QStringLiteral("1");
    r.ModemSet.ModemNo = cutToCapacity(text(edtModemNo), Cap::ModemString);
    r.ModemSet.ModemType = cutToCapacity(text(clbModemType), Cap::ModemString);
    r.ModemSet.Command = cutToCapacity(text(edtCommand1), Cap::ModemString);
    r.ModemSet.CallCMD = cutToCapacity(text(edtCallCmd), Cap::ModemString);
    r.ModemSet.DiscntCMD = cutToCapacity(text(edtDisconnect), Cap::ModemString);
    r.ScheduleSet.SensorNoCheck = checked(ckbSensorNoCheck);
    r.ScheduleSet.DeleteDATAAfter = checked(ckbDeleteData);
    r.ScheduleSet.AppendData = checked(ckbAppendData);
    r.ScheduleSet.intervalMin = numberOr(text(edtInterval), 60);
    r.ScheduleSet.DelayMin = numberOr(text(edtDelay), 5);
    r.ScheduleSet._3DSCal = threeDSCal;
    // The data folder as a folder path, ending with the separator.
    r.SaveFileSet.SavePath = cutToCapacity(
        QDir::toNativeSeparators(joinPath(programFolder, QStringLiteral("Data")) + QLatin1Char('/')),
        Cap::SaveString);
    r.SaveFileSet.FileName1 = QStringLiteral("NewDevice");
    r.SaveFileSet.FileName2 = QStringLiteral("NewDevice_backup");
    return r;
}

qint32 SetupPageModel::portNumber(const QString &portText)
{
    if (portText.toUpper().contains(u"COM"))
        return numberOr(portText.mid(3), 0);
    return numberOr(portText, 0);
}

qint32 SetupPageModel::numberOr(const QString &text, qint32 fallback)
{
    bool ok = false;
    const qint32 value = text.toInt(&ok, 10);
    return ok ? value : fallback;
}

} // namespace kvl
