#include "registry/devicetree.h"

#include <algorithm>

namespace kvl {

int DeviceNode::level() const
{
    int depth = 0;
    for (const DeviceNode *p = parent; p; p = p->parent)
        ++depth;
    return depth;
}

DeviceTreeModel::DeviceTreeModel(QObject *parent) : QAbstractItemModel(parent) {}

DeviceTreeModel::~DeviceTreeModel() = default;

const std::vector<std::unique_ptr<DeviceNode>> &DeviceTreeModel::siblingsOf(const DeviceNode *node) const
{
    return node->parent ? node->parent->children : m_top;
}

int DeviceTreeModel::rowOf(const DeviceNode *node) const
{
    if (!node)
        return -1;
    const auto &siblings = siblingsOf(node);
    const auto it = std::find_if(siblings.begin(), siblings.end(),
                                 [node](const std::unique_ptr<DeviceNode> &n) { return n.get() == node; });
    return it == siblings.end() ? -1 : int(it - siblings.begin());
}

QModelIndex DeviceTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    const DeviceNode *p = nodeFrom(parent);
    const auto &children = p ? p->children : m_top;
    if (row >= int(children.size()))
        return {};
    return createIndex(row, 0, children[size_t(row)].get());
}

QModelIndex DeviceTreeModel::parent(const QModelIndex &child) const
{
    const DeviceNode *node = nodeFrom(child);
    if (!node || !node->parent)
        return {};
    return createIndex(rowOf(node->parent), 0, node->parent);
}

int DeviceTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const DeviceNode *p = nodeFrom(parent);
    return int(p ? p->children.size() : m_top.size());
}

int DeviceTreeModel::columnCount(const QModelIndex &) const { return 1; }

QVariant DeviceTreeModel::data(const QModelIndex &index, int role) const
{
    const DeviceNode *node = nodeFrom(index);
    if (!node || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return node->text;
}

bool DeviceTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !nodeFrom(index))
        return false;
    emit renameRequested(index, value.toString());
    return true;
}

Qt::ItemFlags DeviceTreeModel::flags(const QModelIndex &index) const
{
    if (!nodeFrom(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

std::vector<DeviceNode *> DeviceTreeModel::nodesInOrder() const
{
    std::vector<DeviceNode *> order;
    // Depth first, each node before its children: the display order.
    std::vector<DeviceNode *> stack;
    for (auto it = m_top.rbegin(); it != m_top.rend(); ++it)
        stack.push_back(it->get());
    while (!stack.empty()) {
        DeviceNode *node = stack.back();
        stack.pop_back();
        order.push_back(node);
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it)
            stack.push_back(it->get());
    }
    return order;
}

int DeviceTreeModel::count() const { return int(nodesInOrder().size()); }

DeviceNode *DeviceTreeModel::nodeAt(int absoluteIndex) const
{
    const std::vector<DeviceNode *> order = nodesInOrder();
    if (absoluteIndex < 0 || absoluteIndex >= int(order.size()))
        return nullptr;
    return order[size_t(absoluteIndex)];
}

int DeviceTreeModel::absoluteIndex(const DeviceNode *node) const
{
    if (!node)
        return -1;
    const std::vector<DeviceNode *> order = nodesInOrder();
    const auto it = std::find(order.begin(), order.end(), node);
    return it == order.end() ? -1 : int(it - order.begin());
}

QModelIndex DeviceTreeModel::indexOf(const DeviceNode *node) const
{
    if (!node)
        return {};
    return createIndex(rowOf(node), 0, const_cast<DeviceNode *>(node));
}

QModelIndex DeviceTreeModel::indexAt(int absoluteIndex) const { return indexOf(nodeAt(absoluteIndex)); }

DeviceNode *DeviceTreeModel::nodeFrom(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<DeviceNode *>(index.internalPointer());
}

void DeviceTreeModel::clear()
{
    beginResetModel();
    m_top.clear();
    m_selected = nullptr;
    endResetModel();
    emit selectionMarkChanged({});
}

void DeviceTreeModel::buildFrom(const DeviceRegistry &registry)
{
    beginResetModel();
    m_top.clear();
    m_selected = nullptr;
    DeviceNode *previous = nullptr;
    for (int slot = 0; slot < DeviceRegistry::SlotCount; ++slot) {
        const Setup &record = registry[slot];
        if (record.isEmpty())
            continue;
        const qint32 level = record.DeviceSet.TreeLevel;
        DeviceNode *parentNode = nullptr;
        if (!previous || level == 0) {
            parentNode = nullptr;
        } else if (level > previous->record.DeviceSet.TreeLevel) {
            parentNode = previous;
        } else {
            // The nearest node above with a lower level: for well-formed data the node of
            // level - 1 under which the previous nodes of this level were placed.
            parentNode = previous;
            while (parentNode && parentNode->record.DeviceSet.TreeLevel >= level)
                parentNode = parentNode->parent;
        }
        auto node = std::make_unique<DeviceNode>();
        node->text = record.DeviceSet.DeviceName;
        node->record = record;
        node->parent = parentNode;
        previous = node.get();
        (parentNode ? parentNode->children : m_top).push_back(std::move(node));
    }
    endResetModel();
    emit selectionMarkChanged({});
}

DeviceNode *DeviceTreeModel::insertLast(DeviceNode *parentNode, const QString &text, const Setup &record)
{
    auto &children = parentNode ? parentNode->children : m_top;
    const int row = int(children.size());
    beginInsertRows(indexOf(parentNode), row, row);
    auto node = std::make_unique<DeviceNode>();
    node->text = text;
    node->record = record;
    node->parent = parentNode;
    DeviceNode *added = node.get();
    children.push_back(std::move(node));
    endInsertRows();
    return added;
}

DeviceNode *DeviceTreeModel::addSibling(DeviceNode *of, const QString &text, const Setup &record)
{
    return insertLast(of ? of->parent : nullptr, text, record);
}

DeviceNode *DeviceTreeModel::addChild(DeviceNode *parentNode, const QString &text, const Setup &record)
{
    return insertLast(parentNode, text, record);
}

bool DeviceTreeModel::contains(const DeviceNode *ancestor, const DeviceNode *node) const
{
    for (const DeviceNode *n = node; n; n = n->parent) {
        if (n == ancestor)
            return true;
    }
    return false;
}

void DeviceTreeModel::remove(DeviceNode *node)
{
    if (!node)
        return;
    const bool markGoes = m_selected && contains(node, m_selected);
    auto &siblings = node->parent ? node->parent->children : m_top;
    const int row = rowOf(node);
    beginRemoveRows(indexOf(node->parent), row, row);
    if (markGoes)
        m_selected = nullptr;
    siblings.erase(siblings.begin() + row);
    endRemoveRows();
    if (markGoes)
        emit selectionMarkChanged({});
}

void DeviceTreeModel::setText(DeviceNode *node, const QString &text)
{
    if (!node || node->text == text)
        return;
    node->text = text;
    const QModelIndex idx = indexOf(node);
    emit dataChanged(idx, idx, {Qt::DisplayRole, Qt::EditRole});
}

Setup DeviceTreeModel::placedRecord(const DeviceNode *node) const
{
    Setup record = node->record;
    record.DeviceSet.TreeLevel = node->level();
    record.DeviceSet.TreeIndex = rowOf(node);
    record.DeviceSet.TreeParentsIndex = node->parent ? rowOf(node->parent) : -1;
    return record;
}

void DeviceTreeModel::setSelected(DeviceNode *node)
{
    if (m_selected == node)
        return;
    m_selected = node;
    emit selectionMarkChanged(indexOf(node));
}

void DeviceTreeModel::requestExpand(DeviceNode *node)
{
    if (node)
        emit expandRequested(indexOf(node));
}

} // namespace kvl
