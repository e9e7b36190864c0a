#pragma once

#include <QTreeWidget>

class QComboBox;

// The folders under FilesRoot as a tree, read level by level as they are opened; links that
// lead out of FilesRoot are left out. A double-click (or Enter) chooses a folder.
class FolderTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit FolderTree(QWidget *parent = nullptr);

    // Reads the tree again from FilesRoot and opens it down to `folder` (or its nearest existing level).
    void showFolder(const QString &folder);
    // The item of a resolved folder, opening the levels above it; nullptr when it is not in the tree.
    QTreeWidgetItem *itemFor(const QString &folder);
    static QString pathOf(const QTreeWidgetItem *item);

    // The drive list beside the tree: FilesRoot, its one entry; choosing it chooses FilesRoot.
    QComboBox *makeDriveList(QWidget *parent);

Q_SIGNALS:
    void folderChosen(const QString &folder);

private:
    void fill(QTreeWidgetItem *item);
};
