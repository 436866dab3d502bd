#pragma once
// The device tree: nodes in display order, each with its name and a device record of its
// own. Absolute index = display order (a node, then its descendants, then its next
// sibling), which is also the node's slot in the registry after every save. The model
// also keeps the tree's selection mark, which is not the same as the session's
// Selected_index: after start-up the mark stays on the last node while no device is
// current.

#include "registry/deviceregistry.h"
#include "registry/setup.h"

#include <QAbstractItemModel>

#include <memory>
#include <vector>

namespace kvl {

struct DeviceNode {
    QString text;        // the device name as the tree shows it
    Setup record;        // this node's own record
    DeviceNode *parent = nullptr;
    std::vector<std::unique_ptr<DeviceNode>> children;

    int level() const;   // 0 top level, 1 child, ...
    bool hasChildren() const { return !children.empty(); }
};

class DeviceTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    static constexpr int MaxNodes = DeviceRegistry::SlotCount;

    explicit DeviceTreeModel(QObject *parent = nullptr);
    ~DeviceTreeModel() override;

    // --- item model: one column, the node's text; editing asks for a rename ---
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // --- absolute positions ---
    int count() const;
    DeviceNode *nodeAt(int absoluteIndex) const;        // nullptr when out of range
    int absoluteIndex(const DeviceNode *node) const;    // -1 for nullptr
    QModelIndex indexOf(const DeviceNode *node) const;
    QModelIndex indexAt(int absoluteIndex) const;
    DeviceNode *nodeFrom(const QModelIndex &index) const;
    std::vector<DeviceNode *> nodesInOrder() const;

    // --- changes ---
    void clear();
    // Places a node for every named slot (each with a copy of its slot's record):
    // the first one and every level-0 one as a new last top-level node; a level greater
    // than the previous one's as the last child of the previous node; any other level as
    // the last child of the nearest node above it (on the previous node's line of
    // ancestors) whose level is lower, or at top level when there is none.
    void buildFrom(const DeviceRegistry &registry);
    DeviceNode *addSibling(DeviceNode *of, const QString &text, const Setup &record); // of == nullptr: top level
    DeviceNode *addChild(DeviceNode *parentNode, const QString &text, const Setup &record);
    void remove(DeviceNode *node); // with all its descendants; clears the mark when it goes
    void setText(DeviceNode *node, const QString &text);

    // The record to store for a node: its own record with TreeLevel, TreeIndex and
    // TreeParentsIndex taken from its place in the tree.
    Setup placedRecord(const DeviceNode *node) const;
    int rowOf(const DeviceNode *node) const; // position among its siblings

    // --- the selection mark ---
    DeviceNode *selected() const { return m_selected; }
    void setSelected(DeviceNode *node);
    // Asks the view to show the node's children.
    void requestExpand(DeviceNode *node);

signals:
    void selectionMarkChanged(const QModelIndex &index);
    void expandRequested(const QModelIndex &index);
    // The user finished editing a node's name (F2 or a slow second click); the tree
    // operations decide what happens with it.
    void renameRequested(const QModelIndex &index, const QString &text);

private:
    const std::vector<std::unique_ptr<DeviceNode>> &siblingsOf(const DeviceNode *node) const;
    DeviceNode *insertLast(DeviceNode *parentNode, const QString &text, const Setup &record);
    bool contains(const DeviceNode *ancestor, const DeviceNode *node) const;

    std::vector<std::unique_ptr<DeviceNode>> m_top;
    DeviceNode *m_selected = nullptr;
};

} // namespace kvl
