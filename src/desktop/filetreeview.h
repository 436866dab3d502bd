#pragma once
// The logger's file tree on the download page (trvFilelist). It shows the core's file
// tree and keeps the two in step:
// - the model's selected node is the view's current item, both ways: the user's presses
//   and keys select a node, and a selection the operations change (a cleared tree, a
//   folder's entries replaced) moves the view's. Only the user's input selects, so the
//   view's own moves while rows come and go never select a node nobody chose;
// - each node's expanded flag is the view's, both ways (the view keeps a folder expanded
//   while its entries are listed again under it).
// A double click on a node selects it and reports it; the page decides what it does
// (open the folder or download the file). A double click beside the nodes does nothing.

#include "desktop/selectiontreeview.h"

namespace kvl {

class FileTree;

class FileTreeView : public SelectionTreeView {
    Q_OBJECT
public:
    explicit FileTreeView(FileTree &tree, QWidget *parent = nullptr);

    FileTree &fileTree() const { return m_tree; }

signals:
    // The user double-clicked a node; it is the tree's selected node now.
    void nodeDoubleClicked();

protected:
    void takeCurrent() override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    FileTree &m_tree;
};

} // namespace kvl
