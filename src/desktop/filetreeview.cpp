#include "desktop/filetreeview.h"

#include "logger/filetree.h"

#include <QMouseEvent>

namespace kvl {

FileTreeView::FileTreeView(FileTree &tree, QWidget *parent) : SelectionTreeView(parent), m_tree(tree)
{
    setObjectName(QStringLiteral("trvFilelist"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A double click is the page's action (open or download), not an expand toggle: the
    // opened folder is expanded by the listing itself.
    setExpandsOnDoubleClick(false);
    setModel(&m_tree);

    connect(&m_tree, &FileTree::selectionChanged, this, &FileTreeView::showSelection);
    connect(&m_tree, &FileTree::expandedChanged, this, [this](const QModelIndex &index, bool expanded) {
        if (index.isValid())
            setExpanded(index, expanded);
    });
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        m_tree.setExpanded(m_tree.nodeFrom(index), true);
    });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex &index) {
        m_tree.setExpanded(m_tree.nodeFrom(index), false);
    });
}

// The user moved the view's current item: the tree selects it.
void FileTreeView::takeCurrent()
{
    if (FileNode *node = m_tree.nodeFrom(currentIndex()))
        m_tree.setSelected(node);
}

void FileTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid()) {
        event->accept();
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
    if (currentIndex() != index)
        setCurrentIndex(index);
    takeCurrent();
    emit nodeDoubleClicked();
}

} // namespace kvl
