#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <functional>

class QAbstractItemView;
class QFileInfo;
class QAction;
class QActionGroup;
class QFileSystemWatcher;
class QListView;
class QMenu;
class QStackedLayout;
class QTreeView;

// The items of one folder: folders first, then files, each group sorted by the chosen column.
// Names are edited in place; a rename never replaces an existing item.
class FolderModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Name, Size, Type, Modified, ColumnCount };

    explicit FolderModel(QObject *parent = nullptr);

    // Reads `folder` (resolved) again; a missing folder gives no items.
    void load(const QString &folder);
    QString folder() const { return m_folder; }
    QString pathAt(const QModelIndex &index) const;
    bool isFolder(const QModelIndex &index) const;
    QModelIndex indexOf(const QString &name) const;
    QStringList names() const;
    // Where rename refusals are shown.
    void setMessageParent(QWidget *parent) { m_messageParent = parent; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct Item
    {
        QString name;
        bool folder = false;
        qint64 size = 0;
        QString type;
        QDateTime modified;
        QString icon;
    };
    static Item makeItem(const QFileInfo &info);
    void sortItems();
    void relayout(const std::function<void()> &change, const QString &from = {}, const QString &to = {});
    QIcon icon(const QString &name) const;

    QString m_folder;
    QList<Item> m_items;
    int m_sortColumn = Name;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QPointer<QWidget> m_messageParent;
    mutable QHash<QString, QIcon> m_icons;
};

// A document folder as the desktop's file manager shows one: large or small icons, a list
// or details, several items selectable, rename in place (F2), a double-click opening a file
// with its program or entering a folder, Ctrl+C / Ctrl+X / Ctrl+V with the desktop's clipboard,
// and the pop-up menu of views. It never leaves FilesRoot.
class FolderView : public QWidget
{
    Q_OBJECT

public:
    enum class Mode { LargeIcons, SmallIcons, List, Details };

    explicit FolderView(QWidget *parent = nullptr);

    // Shows `path` bounded to FilesRoot; a missing folder shows no items.
    void setFolder(const QString &path);
    QString folder() const;
    void refresh();
    void setMode(Mode mode);
    Mode mode() const { return m_mode; }
    void sortByName();

    FolderModel *model() const { return m_model; }
    QListView *iconView() const { return m_icons; }
    QTreeView *detailView() const { return m_details; }
    QAbstractItemView *currentView() const;
    QMenu *popupMenu() const { return m_menu; }
    QAction *menuAction(const QString &objectName) const;

    QStringList selectedPaths() const;
    void selectNames(const QStringList &names);
    // Opens a file through the shell, enters a folder (moving the list, see folderEntered).
    void activate(const QModelIndex &index);
    // The selected files (folders skipped) onto the desktop's clipboard.
    void copyToClipboard(bool cut);
    // The clipboard's files into the shown folder, never over an existing file; a cut moves
    // them. Returns how many arrived.
    int pasteFromClipboard();

Q_SIGNALS:
    // The user went into another folder from the list.
    void folderEntered(const QString &folder);

private:
    void build();
    QAction *addMenuAction(const char *objectName, const char *text, const char *log, std::function<void()> run);
    void watch();

    FolderModel *m_model = nullptr;
    QListView *m_icons = nullptr;
    QTreeView *m_details = nullptr;
    QStackedLayout *m_stack = nullptr;
    QMenu *m_menu = nullptr;
    QActionGroup *m_modes = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
    Mode m_mode = Mode::List;
    bool m_refreshPending = false;
};
