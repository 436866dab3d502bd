#include "registry/devicetreeactions.h"

#include "app/errorlog.h"
#include "app/session.h"
#include "registry/modemtype.h"

namespace kvl {

namespace {

const QString NewDeviceName = QStringLiteral("NewDevice");

// Limits of the tree, reported by message only.
constexpr int DeepestAddLevel = 3;    // "Add" makes a sibling, so a level-3 node may get one
constexpr int DeepestSubAddLevel = 2; // "Sub Add" makes a child: at most level 3

} // namespace

DeviceTreeActions::DeviceTreeActions(Session &session, QObject *parent)
    : QObject(parent), m_session(session)
{
    connect(&m_tree, &DeviceTreeModel::renameRequested, this,
            [this](const QModelIndex &index, const QString &text) {
                // Only the marked node is edited: the page shows that node.
                if (m_tree.nodeFrom(index) != m_tree.selected())
                    return;
                guarded(m_session, [&] { ProjectViewEdited(text); });
            });
}

DeviceRegistry &DeviceTreeActions::registry() const
{
    if (!m_session.DeviceInfo)
        throw PlatformError(QStringLiteral("No device registry"));
    return *m_session.DeviceInfo;
}

// ---------------------------------------------------------------- building

void DeviceTreeActions::startUp()
{
    m_session.Selected_index = -1;
    m_labels.setDeviceInfo(QString());
    std::exception_ptr openError;
    try {
        SettingInsertTreeView();
    } catch (const PlatformError &) {
        openError = std::current_exception();
    }
    // Every node through the page once, so that each ends with a record of its own.
    for (DeviceNode *node : m_tree.nodesInOrder()) {
        m_tree.setSelected(node);
        PVClick();
        SetUpApply(node->text);
    }
    m_session.Selected_index = -1;
    if (openError)
        std::rethrow_exception(openError);
}

void DeviceTreeActions::SettingInsertTreeView()
{
    m_tree.clear();
    DeviceRegistry &reg = registry();
    try {
        reg.SettingOpen(m_session.ProgramFolder);
    } catch (const PlatformError &) {
        // The part that was read is in the reg: show it rather than an empty tree that
        // the next save would write over it.
        m_tree.buildFrom(reg);
        throw;
    }
    m_tree.buildFrom(reg);
}

void DeviceTreeActions::BackUpInsertTreeView() { m_tree.buildFrom(registry()); }

// ---------------------------------------------------------------- showing

QString DeviceTreeActions::deviceSummary(const Setup &record) const
{
    QString text = QStringLiteral("LogID: ") + record.DeviceSet.LogID + QStringLiteral("  PortNo: ")
        + QString::number(record.PortSet.COMPORT) + QStringLiteral("  Communication: ")
        + communicationName(record.DeviceSet.Communication);
    if (record.DeviceSet.Communication > 0)
        text += QStringLiteral("  ModemNo: ") + record.ModemSet.ModemNo;
    return text;
}

void DeviceTreeActions::PVClick()
{
    const DeviceNode *node = m_tree.selected();
    if (!node) {
        m_session.Selected_index = -1;
        return;
    }
    m_session.Selected_index = m_tree.absoluteIndex(node);
    m_labels.setSelectedDeviceName(node->record.DeviceSet.DeviceName);
    m_session.progress().setProgress(QStringLiteral("pgbTest"), 0);
    if (node->hasChildren()) {
        m_page.setChecked(SetupPageModel::ckb3DSCal, false);
        m_labels.setDeviceInfo(QStringLiteral("Device Information"));
        m_labels.setDeviceInfoVisible(false);
        emit hide3DSSettingRequested();
        m_page.SetupEnable(false);
        return;
    }
    m_page.SetupEnable(true);
    m_labels.setDeviceInfo(deviceSummary(node->record));
    m_labels.setDeviceInfoVisible(true);
    m_labels.setCaption(m_session.Version + QStringLiteral(" - ") + node->record.DeviceSet.DeviceName);
    m_page.showRecord(node->record);
}

void DeviceTreeActions::ProjectViewClick(int absoluteIndex)
{
    m_tree.setSelected(m_tree.nodeAt(absoluteIndex));
    PVClick();
    m_labels.setClickName(m_labels.lbeSelectedDeviceName());
    if (m_session.Selected_index >= 0 && m_page.checked(SetupPageModel::ckb3DSCal))
        emit load3DSGroupsRequested(m_session.Selected_index);
}

void DeviceTreeActions::ProjectViewDblClick(int absoluteIndex)
{
    const DeviceNode *node = m_tree.nodeAt(absoluteIndex);
    if (!node) {
        m_session.Selected_index = -1;
        return;
    }
    if (node->hasChildren())
        m_page.SetupEnable(false);
}

// ---------------------------------------------------------------- applying and saving

bool DeviceTreeActions::SetUpApply(const QString &name)
{
    DeviceNode *node = m_tree.selected();
    if (!node)
        return false;
    Setup record = m_page.recordFromPage(name, m_session.ProgramFolder);
    const Setup placed = m_tree.placedRecord(node);
    record.DeviceSet.TreeLevel = placed.DeviceSet.TreeLevel;
    record.DeviceSet.TreeIndex = placed.DeviceSet.TreeIndex;
    record.DeviceSet.TreeParentsIndex = placed.DeviceSet.TreeParentsIndex;
    // Not on the page: the 3DS result folder and name stay with the node, and so do the
    // stored bytes that carry no field.
    record.SaveFileSet._3DSSavePath = node->record.SaveFileSet._3DSSavePath;
    record.SaveFileSet._3DSFileName = node->record.SaveFileSet._3DSFileName;
    record.image = node->record.image;
    node->record = record;
    return true;
}

void DeviceTreeActions::NodeSettingSave(int index)
{
    DeviceNode *node = m_tree.nodeAt(index);
    if (!node)
        return;
    DeviceRegistry &reg = registry();
    Setup &slot = reg[index];
    Setup record = m_tree.placedRecord(node);
    // The slot's 3DS result folder and name are the current ones (the 3DS pages write
    // them there); the node keeps a copy.
    record.SaveFileSet._3DSSavePath = slot.SaveFileSet._3DSSavePath;
    record.SaveFileSet._3DSFileName = slot.SaveFileSet._3DSFileName;
    node->record.SaveFileSet._3DSSavePath = record.SaveFileSet._3DSSavePath;
    node->record.SaveFileSet._3DSFileName = record.SaveFileSet._3DSFileName;
    slot = record;
    reg.SettingSave(m_session.ProgramFolder);
}

void DeviceTreeActions::AllSettingSave()
{
    DeviceRegistry &reg = registry();
    const std::vector<DeviceNode *> order = m_tree.nodesInOrder();
    for (int k = 0; k < DeviceRegistry::SlotCount; ++k) {
        if (k < int(order.size()))
            reg[k] = m_tree.placedRecord(order[size_t(k)]);
        else
            reg[k] = Setup::emptySlot(reg[k]);
    }
    reg.SettingSave(m_session.ProgramFolder);
}

void DeviceTreeActions::takeSlotResidentFields()
{
    const DeviceRegistry &reg = registry();
    const std::vector<DeviceNode *> order = m_tree.nodesInOrder();
    for (int k = 0; k < int(order.size()) && k < DeviceRegistry::SlotCount; ++k) {
        order[size_t(k)]->record.SaveFileSet._3DSSavePath = reg[k].SaveFileSet._3DSSavePath;
        order[size_t(k)]->record.SaveFileSet._3DSFileName = reg[k].SaveFileSet._3DSFileName;
    }
}

// ---------------------------------------------------------------- buttons

int DeviceTreeActions::btnDeviceAddClick()
{
    m_session.Start_flg();
    emit setupPageRequested();
    if (m_tree.count() >= DeviceTreeModel::MaxNodes) {
        m_session.message(QStringLiteral("등록 최대치 초과 하였습니다."));
        return -1;
    }
    DeviceNode *marked = m_tree.selected();
    if (marked && marked->level() > DeepestAddLevel) {
        m_session.message(QStringLiteral("너무 하위레벨임."));
        return -1;
    }
    const Setup record = m_page.newDeviceRecord(m_session.ProgramFolder, false);
    takeSlotResidentFields();
    const DeviceNode *added = m_tree.addSibling(marked, NewDeviceName, record);
    PVClick();
    AllSettingSave();
    return m_tree.absoluteIndex(added);
}

int DeviceTreeActions::btnDeviceSubAddClick()
{
    m_session.Start_flg();
    emit setupPageRequested();
    if (m_tree.count() >= DeviceTreeModel::MaxNodes) {
        m_session.message(QStringLiteral("Over max item number."));
        return -1;
    }
    DeviceNode *marked = m_tree.selected();
    if (marked && marked->level() > DeepestSubAddLevel) {
        m_session.message(QStringLiteral("Too low-level."));
        return -1;
    }
    const Setup record = m_page.newDeviceRecord(m_session.ProgramFolder,
                                                m_page.checked(SetupPageModel::ckb3DSCal));
    takeSlotResidentFields();
    const DeviceNode *added = marked ? m_tree.addChild(marked, NewDeviceName, record)
                                     : m_tree.addSibling(nullptr, NewDeviceName, record);
    PVClick();
    m_tree.requestExpand(marked);
    AllSettingSave();
    return m_tree.absoluteIndex(added);
}

bool DeviceTreeActions::btnDeviceDelClick()
{
    m_session.Start_flg();
    emit setupPageRequested();
    DeviceNode *marked = m_tree.selected();
    if (!marked)
        return false;
    if (!m_session.question(QStringLiteral("Are you sure you want to delete the List?\r\n")))
        return false;
    takeSlotResidentFields();
    m_tree.remove(marked);
    // The reg shift: the old index would now name another device (or none).
    m_session.Selected_index = -1;
    AllSettingSave();
    return true;
}

bool DeviceTreeActions::btnApplyClick()
{
    DeviceNode *marked = m_tree.selected();
    if (!marked)
        return false;
    SetUpApply(marked->text);
    NodeSettingSave(m_tree.absoluteIndex(marked));
    return true;
}

bool DeviceTreeActions::ProjectViewEdited(const QString &name)
{
    DeviceNode *marked = m_tree.selected();
    if (!marked || name.isEmpty())
        return false;
    m_tree.setText(marked, name);
    m_page.setText(SetupPageModel::edtSaveFile1, name);
    m_page.setText(SetupPageModel::edtSaveFile2, name + QStringLiteral("_backup"));
    SetUpApply(name);
    // The node just renamed is saved, also when no device is current yet (after start-up
    // the mark stays on the last node while Selected_index is -1).
    NodeSettingSave(m_tree.absoluteIndex(marked));
    m_labels.setClickName(name);
    m_labels.setSelectedDeviceName(name);
    return true;
}

} // namespace kvl
