#include "FolderTree.h"

#include "DocumentFolders.h"
#include "Utf8.h"
#include "uPictures.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int FilledRole = Qt::UserRole + 1;

}  // namespace

FolderTree::FolderTree(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(s("folderTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setToolTip(s("双击选择文件目录"));
    setExpandsOnDoubleClick(true);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) { fill(item); });
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        const QString folder = DocumentFolders::bounded(pathOf(item));
        emit folderChosen(folder);
    });
    showFolder(DocumentFolders::root());
}

QString FolderTree::pathOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, PathRole).toString() : QString();
}

void FolderTree::fill(QTreeWidgetItem *item)
{
    if (!item || item->data(0, FilledRole).toBool())
        return;
    item->setData(0, FilledRole, true);
    const QIcon folderIcon = Pictures::themeIcon(s("folder"));
    const QDir dir(pathOf(item));
    for (const QFileInfo &info : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        const QString path = DocumentFolders::resolve(info.absoluteFilePath());
        if (!DocumentFolders::isInside(path))
            continue;
        auto *child = new QTreeWidgetItem(item, {info.fileName()});
        child->setIcon(0, folderIcon);
        child->setData(0, PathRole, path);
        child->setToolTip(0, QDir::toNativeSeparators(path));
        const bool hasFolders = !QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty();
        child->setChildIndicatorPolicy(hasFolders ? QTreeWidgetItem::ShowIndicator
                                                  : QTreeWidgetItem::DontShowIndicator);
    }
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void FolderTree::showFolder(const QString &folder)
{
    clear();
    const QString root = DocumentFolders::root();
    auto *top = new QTreeWidgetItem(this, {QFileInfo(root).fileName()});
    top->setIcon(0, Pictures::themeIcon(s("folder")));
    top->setData(0, PathRole, root);
    top->setToolTip(0, QDir::toNativeSeparators(root));
    fill(top);
    top->setExpanded(true);
    QTreeWidgetItem *at = itemFor(DocumentFolders::bounded(folder));
    if (!at) {
        // A folder not made yet: its nearest level that is there.
        QString up = DocumentFolders::bounded(folder);
        while (!at && up != root) {
            up = DocumentFolders::parentOf(up);
            at = itemFor(up);
        }
    }
    setCurrentItem(at ? at : top);
    scrollToItem(currentItem());
}

QTreeWidgetItem *FolderTree::itemFor(const QString &folder)
{
    const QString root = DocumentFolders::root();
    QTreeWidgetItem *item = topLevelItem(0);
    if (!item || !DocumentFolders::isInside(folder))
        return nullptr;
    if (folder == root)
        return item;
    const QStringList levels = folder.mid(root.size() + 1).split(u'/', Qt::SkipEmptyParts);
    for (const QString &level : levels) {
        fill(item);
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == level)
                next = item->child(i);
        if (!next)
            return nullptr;
        item->setExpanded(true);
        item = next;
    }
    return item;
}

QComboBox *FolderTree::makeDriveList(QWidget *parent)
{
    auto *drives = new QComboBox(parent);
    drives->setObjectName(s("driveList"));
    drives->addItem(Pictures::themeIcon(s("drive-harddisk")), QDir::toNativeSeparators(DocumentFolders::root()));
    drives->setToolTip(QDir::toNativeSeparators(DocumentFolders::root()));
    connect(drives, &QComboBox::activated, this, [this] {
        setCurrentItem(topLevelItem(0));
        emit folderChosen(DocumentFolders::root());
    });
    return drives;
}
