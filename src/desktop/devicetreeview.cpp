#include "desktop/devicetreeview.h"

#include "app/errorlog.h"
#include "app/session.h"
#include "registry/devicetreeactions.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kvl {

namespace {

bool isArrowKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

} // namespace

DeviceTreeView::DeviceTreeView(DeviceTreeActions &actions, Session &session, QWidget *parent)
    : SelectionTreeView(parent), m_actions(actions), m_model(actions.tree()), m_session(session)
{
    setObjectName(QStringLiteral("ProjectView"));
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setModel(&m_model);

    connect(&m_model, &DeviceTreeModel::selectionMarkChanged, this, &DeviceTreeView::showSelection);
    connect(&m_model, &DeviceTreeModel::expandRequested, this, [this](const QModelIndex &index) {
        if (index.isValid())
            expand(index);
    });
}

int DeviceTreeView::markedIndex() const { return m_model.absoluteIndex(m_model.selected()); }

void DeviceTreeView::ProjectViewClick()
{
    guarded(m_session, [this] { m_actions.ProjectViewClick(markedIndex()); });
}

// The user moved the view's current item: it becomes the mark.
void DeviceTreeView::takeCurrent()
{
    if (DeviceNode *node = m_model.nodeFrom(currentIndex()))
        m_model.setSelected(node);
}

void DeviceTreeView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        ProjectViewClick();
}

void DeviceTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    // The view's own expand or collapse of a group first, then the page.
    QTreeView::mouseDoubleClickEvent(event);
    guarded(m_session, [this] { m_actions.ProjectViewDblClick(markedIndex()); });
}

void DeviceTreeView::keyReleaseEvent(QKeyEvent *event)
{
    QTreeView::keyReleaseEvent(event);
    if (isArrowKey(event->key()) && !event->isAutoRepeat())
        ProjectViewClick();
}

bool DeviceTreeView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // Only the marked node's name is edited: the page shows that node, and the rename
    // saves it.
    if (!m_actions.canRename() || m_model.nodeFrom(index) != m_model.selected())
        return false;
    return QTreeView::edit(index, trigger, event);
}

} // namespace kvl
