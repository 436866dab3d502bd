#include "logger/filetree.h"

namespace kvl {

FileTree::FileTree(QObject *parent) : QAbstractItemModel(parent) {}

FileTree::~FileTree() = default;

std::vector<std::unique_ptr<FileNode>> &FileTree::siblingsOf(FileNode *parentNode)
{
    return parentNode ? parentNode->children : m_top;
}

const std::vector<std::unique_ptr<FileNode>> &FileTree::siblingsOf(const FileNode *parentNode) const
{
    return parentNode ? parentNode->children : m_top;
}

int FileTree::rowOf(const FileNode *node) const
{
    const auto &siblings = siblingsOf(node->parent);
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == node)
            return int(i);
    return -1;
}

QModelIndex FileTree::index(int row, int column, const QModelIndex &parent) const
{
    const auto &siblings = siblingsOf(nodeFrom(parent));
    if (column != 0 || row < 0 || size_t(row) >= siblings.size())
        return {};
    return createIndex(row, 0, siblings[size_t(row)].get());
}

QModelIndex FileTree::parent(const QModelIndex &child) const
{
    const FileNode *node = nodeFrom(child);
    return node ? indexOf(node->parent) : QModelIndex();
}

int FileTree::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(siblingsOf(nodeFrom(parent)).size());
}

int FileTree::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant FileTree::data(const QModelIndex &index, int role) const
{
    const FileNode *node = nodeFrom(index);
    if (!node || role != Qt::DisplayRole)
        return {};
    return node->text;
}

QModelIndex FileTree::indexOf(const FileNode *node) const
{
    return node ? createIndex(rowOf(node), 0, const_cast<FileNode *>(node)) : QModelIndex();
}

FileNode *FileTree::nodeFrom(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<FileNode *>(index.internalPointer()) : nullptr;
}

QStringList FileTree::topLevelTexts() const
{
    QStringList texts;
    for (const auto &n : m_top)
        texts << n->text;
    return texts;
}

QStringList FileTree::childTexts(const FileNode &node)
{
    QStringList texts;
    for (const auto &n : node.children)
        texts << n->text;
    return texts;
}

void FileTree::clear()
{
    setSelected(nullptr);
    beginResetModel();
    m_top.clear();
    endResetModel();
}

FileNode *FileTree::add(FileNode *parentNode, const QString &text)
{
    auto &siblings = siblingsOf(parentNode);
    const int row = int(siblings.size());
    beginInsertRows(indexOf(parentNode), row, row);
    auto node = std::make_unique<FileNode>();
    node->text = text;
    node->parent = parentNode;
    FileNode *added = node.get();
    siblings.push_back(std::move(node));
    endInsertRows();
    return added;
}

void FileTree::removeChildren(FileNode *node)
{
    if (!node || node->children.empty())
        return;
    for (const FileNode *s = m_selected; s; s = s->parent)
        if (s->parent == node) {
            setSelected(nullptr);
            break;
        }
    beginRemoveRows(indexOf(node), 0, int(node->children.size()) - 1);
    node->children.clear();
    endRemoveRows();
}

void FileTree::setSelected(FileNode *node)
{
    if (node == m_selected)
        return;
    m_selected = node;
    emit selectionChanged(indexOf(node));
}

void FileTree::setExpanded(FileNode *node, bool expanded)
{
    if (!node || node->expanded == expanded)
        return;
    node->expanded = expanded;
    emit expandedChanged(indexOf(node), expanded);
}

} // namespace kvl
