#include "desktop/filetreeview.h"

#include "logger/filetree.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kvl {

FileTreeView::FileTreeView(FileTree &tree, QWidget *parent) : QTreeView(parent), m_tree(tree)
{
    setObjectName(QStringLiteral("trvFilelist"));
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
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

void FileTreeView::selectCurrent()
{
    if (FileNode *node = m_tree.nodeFrom(currentIndex()))
        m_tree.setSelected(node);
}

void FileTreeView::showSelection(const QModelIndex &index)
{
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    if (currentIndex() != index)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void FileTreeView::mousePressEvent(QMouseEvent *event)
{
    // Only the left button selects, and a press beside the nodes keeps the selection.
    if (event->button() != Qt::LeftButton || !indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
    selectCurrent();
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
    selectCurrent();
    emit nodeDoubleClicked();
}

void FileTreeView::keyPressEvent(QKeyEvent *event)
{
    QTreeView::keyPressEvent(event);
    selectCurrent();
}

} // namespace kvl
