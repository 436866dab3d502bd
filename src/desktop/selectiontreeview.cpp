#include "desktop/selectiontreeview.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kvl {

SelectionTreeView::SelectionTreeView(QWidget *parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void SelectionTreeView::showSelection(const QModelIndex &index)
{
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    if (currentIndex() != index)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void SelectionTreeView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
    takeCurrent();
}

void SelectionTreeView::keyPressEvent(QKeyEvent *event)
{
    QTreeView::keyPressEvent(event);
    takeCurrent();
}

} // namespace kvl
