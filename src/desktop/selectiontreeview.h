#pragma once
// A tree view whose current item is the selected node of a core tree model, both ways.
// The user's presses and keys select a node; a selection that an operation changes moves
// the view's. Only the user's input selects, so the view's own moves while rows come and
// go never select a node nobody chose. A press with another button, or beside the nodes,
// keeps the selection where it is.

#include <QTreeView>

namespace kvl {

class SelectionTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit SelectionTreeView(QWidget *parent = nullptr);

protected:
    // The user moved the view's current item: the model takes it as its selection.
    virtual void takeCurrent() = 0;
    // The model's selection moved: the view follows (an invalid index clears it).
    void showSelection(const QModelIndex &index);

    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace kvl
