#pragma once
// The device tree (ProjectView) on the left of the main window. It shows the device tree
// model of the tree operations and hands the user's gestures to them:
// - a click, and the release of an arrow key, shows the marked node (ProjectViewClick);
// - a double click on a group expands or collapses it and clears the page;
// - F2 (or a slow second click on the name) edits the marked node's name; the finished
//   edit reaches the model, which asks the tree operations for the rename.
// The view's current item is the model's selection mark, both ways: the user's presses and
// keys set the mark, and a mark set by an operation (start-up, delete) moves the view's.
// Only the user's input moves the mark, so the view's own moves while rows come and go
// never mark a node the operations did not choose.

#include "desktop/selectiontreeview.h"

namespace kvl {

class DeviceTreeActions;
class DeviceTreeModel;
class Session;

class DeviceTreeView : public SelectionTreeView {
    Q_OBJECT
public:
    DeviceTreeView(DeviceTreeActions &actions, Session &session, QWidget *parent = nullptr);

protected:
    void takeCurrent() override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;

private:
    // The absolute index of the marked node, -1 when none.
    int markedIndex() const;
    void ProjectViewClick();

    DeviceTreeActions &m_actions;
    DeviceTreeModel &m_model;
    Session &m_session;
};

} // namespace kvl
