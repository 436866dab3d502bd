#pragma once
// The device tree's operations: building the tree at start-up, showing a node on the setup
// page, applying the page, adding, deleting and renaming devices, and saving the registry
// after each change. The desktop window and the console both call these on the same
// models, so a button and a console operation do the same thing.
//
// Registry saves raise PlatformError; callers run each operation inside kvl::guarded.
//
// The 3DS result folder and name (_3DSSavePath, _3DSFileName) are written straight into
// the selected device's slot by the 3DS pages. Each node carries them as well so that
// they stay with their device when nodes above it come or go:
// - before the tree changes shape, every node takes the current values of its slot
//   (slot k holds node k since the last save);
// - AllSettingSave writes them from the nodes, so they move with the devices;
// - NodeSettingSave keeps the slot's values (the node takes them over);
// - a new device starts with both empty, whatever the slot held before.

#include "registry/devicelabels.h"
#include "registry/devicetree.h"
#include "registry/setuppage.h"

#include <QObject>

namespace kvl {

class Session;

class DeviceTreeActions : public QObject {
    Q_OBJECT
public:
    // session.DeviceInfo must point at the registry for as long as this object is used.
    explicit DeviceTreeActions(Session &session, QObject *parent = nullptr);

    DeviceTreeModel &tree() { return m_tree; }
    SetupPageModel &page() { return m_page; }
    DeviceLabels &labels() { return m_labels; }
    const DeviceTreeModel &tree() const { return m_tree; }
    const SetupPageModel &page() const { return m_page; }
    const DeviceLabels &labels() const { return m_labels; }

    // --- building ---
    // The start-up part of the first show: no device current, empty device summary, the
    // tree built from Setting.dat, every node shown and applied once in display order so
    // that each has a record of its own, and no device current again (the selection mark
    // stays on the last node). A damaged Setting.dat still gives the tree of the part
    // that was read; its error is raised after the rest has run.
    void startUp();
    // Reads Setting.dat (SettingOpen) and builds the tree from the registry.
    void SettingInsertTreeView();
    // Builds the tree from the registry as it stands (after a restore); each node gets a
    // copy of its slot's record.
    void BackUpInsertTreeView();

    // --- showing ---
    // Shows the marked node on the page and in the labels (Selected_index follows it).
    void PVClick();
    // A click on the node at this absolute index (-1: on no node); arrow keys act alike.
    void ProjectViewClick(int absoluteIndex);
    // A double click: on no node no device is current; on a group the page is cleared.
    void ProjectViewDblClick(int absoluteIndex);

    // --- applying and saving ---
    // Gives the marked node a new record built from the page and this name. False when
    // no node is marked.
    bool SetUpApply(const QString &name);
    // Writes the record of the node at this absolute index into the slot of the same
    // index and saves. Nothing happens for an index without a node.
    void NodeSettingSave(int index);
    // Rewrites every slot from the tree (slots beyond the last node are emptied) and saves.
    void AllSettingSave();

    // --- buttons and the tree's edit ---
    // "Add": a new device as the last sibling of the marked node (top level when none).
    // Returns its absolute index, -1 when refused.
    int btnDeviceAddClick();
    // "Sub Add": a new device as the last child of the marked node; with no node marked a
    // new top-level device as "Add" makes. Returns its absolute index, -1 when refused.
    int btnDeviceSubAddClick();
    // "Del": asks, then deletes the marked node with its descendants. Afterwards no node
    // is marked and no device is current. True when something was deleted.
    bool btnDeviceDelClick();
    // "Apply": applies the page to the marked node and saves it. False with no node marked.
    bool btnApplyClick();
    // F2 may start editing: a node is marked.
    bool canRename() const { return m_tree.selected() != nullptr; }
    // The tree's edited event for the marked node: the device and its two data files take
    // the new name. False (the old name stays) with no node marked or an empty name.
    bool ProjectViewEdited(const QString &name);

signals:
    void setupPageRequested();       // show the setup page
    void hide3DSSettingRequested();  // a group was shown: hide the 3DS calculation panel
    // A device with 3DS calculation on was clicked: load its groups and result names.
    void load3DSGroupsRequested(int index);

private:
    DeviceRegistry &registry() const;
    void takeSlotResidentFields(); // nodes take their slot's 3DS result folder and name
    QString deviceSummary(const Setup &record) const;

    Session &m_session;
    DeviceTreeModel m_tree;
    SetupPageModel m_page;
    DeviceLabels m_labels;
};

} // namespace kvl
