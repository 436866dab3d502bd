#pragma once
// The logger's file tree on the download page (trvFilelist): node texts are the logger's
// listing lines as received ("[SL01]", "PROG.TXT(120)"), plus "[\]" for the root folder;
// an opened folder carries its entries as children. The model also keeps the selected
// node and each node's expanded flag, so the tree view only shows it and reports the
// user's selection back.

#include <QAbstractItemModel>

#include <memory>
#include <vector>

namespace kvl {

struct FileNode {
    QString text;
    FileNode *parent = nullptr;
    std::vector<std::unique_ptr<FileNode>> children;
    bool expanded = false;
};

class FileTree : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit FileTree(QObject *parent = nullptr);
    ~FileTree() override;

    // --- item model: one read-only column, the node's text ---
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QModelIndex indexOf(const FileNode *node) const; // invalid for nullptr
    FileNode *nodeFrom(const QModelIndex &index) const;

    const std::vector<std::unique_ptr<FileNode>> &topLevel() const { return m_top; }
    QStringList topLevelTexts() const;
    static QStringList childTexts(const FileNode &node);

    // --- changes ---
    void clear(); // also drops the selection
    // A new last child of parentNode; nullptr: a new last top-level node.
    FileNode *add(FileNode *parentNode, const QString &text);
    // Drops a node's children (the selection too when it was among them).
    void removeChildren(FileNode *node);

    // --- selection and expansion ---
    FileNode *selected() const { return m_selected; }
    void setSelected(FileNode *node);
    void setSelectedIndex(const QModelIndex &index) { setSelected(nodeFrom(index)); }
    void setExpanded(FileNode *node, bool expanded);

signals:
    void selectionChanged(const QModelIndex &index);
    void expandedChanged(const QModelIndex &index, bool expanded);

private:
    std::vector<std::unique_ptr<FileNode>> &siblingsOf(FileNode *parentNode);
    const std::vector<std::unique_ptr<FileNode>> &siblingsOf(const FileNode *parentNode) const;
    int rowOf(const FileNode *node) const;

    std::vector<std::unique_ptr<FileNode>> m_top;
    FileNode *m_selected = nullptr;
};

} // namespace kvl
