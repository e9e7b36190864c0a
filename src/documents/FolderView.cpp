#include "FolderView.h"

#include "DocumentFolders.h"
#include "ErrorHandler.h"
#include "Messages.h"
#include "Shell.h"
#include "Utf8.h"
#include "uPictures.h"
#include "uPublic.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QStackedLayout>
#include <QTreeView>

namespace {

struct Kind
{
    const char *type;
    const char *icon;
};

// The type caption and picture of a file by its extension.
Kind kindOf(const QString &suffix)
{
    static const QHash<QString, Kind> kinds = {
        {QStringLiteral("txt"), {"文本文档", "text-plain"}},
        {QStringLiteral("doc"), {"Microsoft Word 文档", "x-office-document"}},
        {QStringLiteral("docx"), {"Microsoft Word 文档", "x-office-document"}},
        {QStringLiteral("wps"), {"WPS 文字文档", "x-office-document"}},
        {QStringLiteral("odt"), {"文字处理文档", "x-office-document"}},
        {QStringLiteral("xls"), {"Microsoft Excel 工作表", "x-office-spreadsheet"}},
        {QStringLiteral("xlsx"), {"Microsoft Excel 工作表", "x-office-spreadsheet"}},
        {QStringLiteral("et"), {"WPS 表格", "x-office-spreadsheet"}},
        {QStringLiteral("ods"), {"电子表格", "x-office-spreadsheet"}},
        {QStringLiteral("pdf"), {"PDF 文件", "application-pdf"}},
        {QStringLiteral("jpg"), {"JPEG 图像", "image-x-generic"}},
        {QStringLiteral("jpeg"), {"JPEG 图像", "image-x-generic"}},
        {QStringLiteral("png"), {"PNG 图像", "image-x-generic"}},
        {QStringLiteral("bmp"), {"位图图像", "image-x-generic"}},
        {QStringLiteral("gif"), {"GIF 图像", "image-x-generic"}},
        {QStringLiteral("tif"), {"TIFF 图像", "image-x-generic"}},
        {QStringLiteral("tiff"), {"TIFF 图像", "image-x-generic"}},
    };
    return kinds.value(suffix.toLower(), Kind{nullptr, "unknown"});
}

QString sizeText(qint64 bytes)
{
    // As file managers show it: whole kilobytes, rounded up, with digit grouping.
    return QLocale().toString((bytes + 1023) / 1024) + QStringLiteral(" KB");
}

}  // namespace

FolderModel::FolderModel(QObject *parent) : QAbstractTableModel(parent)
{
}

FolderModel::Item FolderModel::makeItem(const QFileInfo &info)
{
    Item item;
    item.name = info.fileName();
    item.folder = info.isDir();
    item.size = item.folder ? 0 : info.size();
    item.modified = info.lastModified();
    if (item.folder) {
        item.type = s("文件夹");
        item.icon = QStringLiteral("folder");
    } else {
        const Kind kind = kindOf(info.suffix());
        item.type = kind.type ? s(kind.type) : (info.suffix().isEmpty() ? s("文件") : info.suffix().toUpper() + s(" 文件"));
        item.icon = QString::fromLatin1(kind.icon);
    }
    return item;
}

void FolderModel::load(const QString &folder)
{
    beginResetModel();
    m_folder = folder;
    m_items.clear();
    const QDir dir(folder);
    if (!folder.isEmpty() && dir.exists())
        for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::NoSort))
            m_items << makeItem(info);
    sortItems();
    endResetModel();
}

void FolderModel::relayout(const std::function<void()> &change, const QString &from, const QString &to)
{
    // Selections and the current item stay on the same names, wherever the order puts them.
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QStringList names;
    for (const QModelIndex &i : before) {
        const QString name = i.row() < m_items.size() ? m_items.at(i.row()).name : QString();
        names << (name == from && !from.isEmpty() ? to : name);
    }
    change();
    QModelIndexList after;
    for (qsizetype k = 0; k < before.size(); ++k) {
        const QModelIndex at = indexOf(names.at(k));
        after << (at.isValid() ? index(at.row(), before.at(k).column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

QString FolderModel::pathAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    return m_folder + u'/' + m_items.at(index.row()).name;
}

bool FolderModel::isFolder(const QModelIndex &index) const
{
    return index.isValid() && index.row() < m_items.size() && m_items.at(index.row()).folder;
}

QModelIndex FolderModel::indexOf(const QString &name) const
{
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items.at(i).name == name)
            return index(i, Name);
    return {};
}

QStringList FolderModel::names() const
{
    QStringList out;
    for (const Item &i : m_items)
        out << i.name;
    return out;
}

int FolderModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

int FolderModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QIcon FolderModel::icon(const QString &name) const
{
    auto it = m_icons.find(name);
    if (it == m_icons.end())
        it = m_icons.insert(name, Pictures::themeIcon(name));
    return *it;
}

QVariant FolderModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const Item &item = m_items.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Name:
            return item.name;
        case Size:
            return item.folder ? QString() : sizeText(item.size);
        case Type:
            return item.type;
        case Modified:
            return QLocale().toString(item.modified, QLocale::ShortFormat);
        default:
            return {};
        }
    case Qt::EditRole:
        return index.column() == Name ? QVariant(item.name) : QVariant();
    case Qt::DecorationRole:
        return index.column() == Name ? QVariant(icon(item.icon)) : QVariant();
    case Qt::ToolTipRole:
        return index.column() == Name ? QVariant(QDir::toNativeSeparators(pathAt(index))) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == Size ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    default:
        return {};
    }
}

QVariant FolderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const captions[] = {"名称", "大小", "类型", "修改日期"};
    return section >= 0 && section < ColumnCount ? s(captions[section]) : QString();
}

Qt::ItemFlags FolderModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Name)
        f |= Qt::ItemIsEditable;
    return f;
}

bool FolderModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != Name || index.row() >= m_items.size())
        return false;
    const QString from = m_items.at(index.row()).name;
    const QString to = value.toString().trimmed();
    switch (DocumentFolders::rename(m_folder, from, to)) {
    case DocumentFolders::Renamed::Unchanged:
        return true;
    case DocumentFolders::Renamed::BadName:
        Messages::warning(m_messageParent, s("文件名称不能包含路径或非法字符！"));
        return false;
    case DocumentFolders::Renamed::Exists:
        Messages::warning(m_messageParent, s("对不起，该文件已经存在！"));
        return false;
    case DocumentFolders::Renamed::Failed:
        return false;
    case DocumentFolders::Renamed::Ok:
        break;
    }
    const int row = index.row();
    relayout([&] {
        m_items[row] = makeItem(QFileInfo(m_folder + u'/' + to));
        sortItems();
    }, from, to);
    return true;
}

void FolderModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    relayout([&] {
        m_sortColumn = column;
        m_sortOrder = order;
        sortItems();
    });
}

void FolderModel::sortItems()
{
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const int column = m_sortColumn;
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    std::stable_sort(m_items.begin(), m_items.end(), [&](const Item &a, const Item &b) {
        if (a.folder != b.folder)
            return a.folder;  // folders first whichever way the column runs
        int c = 0;
        if (column == Size)
            c = a.size < b.size ? -1 : (a.size > b.size ? 1 : 0);
        else if (column == Type)
            c = collator.compare(a.type, b.type);
        else if (column == Modified)
            c = a.modified < b.modified ? -1 : (b.modified < a.modified ? 1 : 0);
        if (c == 0)
            c = collator.compare(a.name, b.name);
        return descending ? c > 0 : c < 0;
    });
}

// ---------------------------------------------------------------------------

FolderView::FolderView(QWidget *parent) : QWidget(parent)
{
    build();
    setMode(Mode::List);
}

void FolderView::build()
{
    m_model = new FolderModel(this);
    m_model->setMessageParent(this);
    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);

    m_icons = new QListView(this);
    m_icons->setObjectName(s("folderIcons"));
    m_icons->setModel(m_model);
    m_icons->setModelColumn(FolderModel::Name);
    m_icons->setMovement(QListView::Static);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setWordWrap(true);
    m_icons->setTextElideMode(Qt::ElideMiddle);

    m_details = new QTreeView(this);
    m_details->setObjectName(s("folderDetails"));
    m_details->setModel(m_model);
    m_details->setSelectionModel(m_icons->selectionModel());  // one selection, whatever the view
    m_details->setRootIsDecorated(false);
    m_details->setItemsExpandable(false);
    m_details->setUniformRowHeights(true);
    m_details->setSortingEnabled(true);
    m_details->sortByColumn(FolderModel::Name, Qt::AscendingOrder);
    m_details->setAllColumnsShowFocus(true);
    m_details->header()->setStretchLastSection(false);
    m_details->setColumnWidth(FolderModel::Name, 150);
    m_details->setColumnWidth(FolderModel::Size, 70);
    m_details->setColumnWidth(FolderModel::Type, 130);
    m_details->setColumnWidth(FolderModel::Modified, 130);

    for (QAbstractItemView *v : {static_cast<QAbstractItemView *>(m_icons), static_cast<QAbstractItemView *>(m_details)}) {
        v->setSelectionMode(QAbstractItemView::ExtendedSelection);
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
        v->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(v, &QAbstractItemView::activated, this, [this](const QModelIndex &i) { activate(i); });
        connect(v, &QWidget::customContextMenuRequested, this,
                [this, v](const QPoint &at) { m_menu->popup(v->viewport()->mapToGlobal(at)); });
        // A change on disk while a name is being edited waits until the editor closes.
        connect(v->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
            if (m_refreshPending)
                QMetaObject::invokeMethod(this, &FolderView::refresh, Qt::QueuedConnection);
        });
        m_stack->addWidget(v);
    }

    m_menu = new QMenu(this);
    m_menu->setObjectName(s("folderMenu"));
    QAction *heading = m_menu->addAction(s("排列方式..."));
    heading->setObjectName(s("menuHeading"));
    heading->setEnabled(false);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_menu->addSeparator();
    addMenuAction("menuSortByName", "按名称排列", "文件管理-按名称排列", [this] { sortByName(); });
    m_menu->addSeparator();
    m_modes = new QActionGroup(this);
    const struct
    {
        const char *name, *text, *log;
        Mode mode;
    } modes[] = {{"menuLargeIcons", "大图标", "文件管理-显示大图标", Mode::LargeIcons},
                 {"menuSmallIcons", "小图标", "文件管理-显示小图标", Mode::SmallIcons},
                 {"menuList", "列表...", "文件管理-显示列表", Mode::List},
                 {"menuDetails", "详细资料...", "文件管理-显示详细资料", Mode::Details}};
    for (const auto &m : modes) {
        const Mode mode = m.mode;
        QAction *a = addMenuAction(m.name, m.text, m.log, [this, mode] { setMode(mode); });
        a->setCheckable(true);
        a->setData(int(mode));
        m_modes->addAction(a);
    }
    m_menu->addSeparator();
    addMenuAction("menuRefresh", "刷新", "文件管理-刷新", [this] { refresh(); });

    // The desktop's clipboard keys, on whichever view has the focus.
    const struct
    {
        const char *name;
        QKeySequence::StandardKey key;
        std::function<void()> run;
    } keys[] = {{"keyCopy", QKeySequence::Copy, [this] { copyToClipboard(false); }},
                {"keyCut", QKeySequence::Cut, [this] { copyToClipboard(true); }},
                {"keyPaste", QKeySequence::Paste, [this] { pasteFromClipboard(); }}};
    for (const auto &k : keys) {
        auto *a = new QAction(this);
        a->setObjectName(s(k.name));
        a->setShortcut(k.key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        const auto run = k.run;
        connect(a, &QAction::triggered, this, [this, run] { ErrorHandler::run(this, run); });
        addAction(a);
    }

    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { refresh(); });
}

QAction *FolderView::addMenuAction(const char *objectName, const char *text, const char *log, std::function<void()> run)
{
    QAction *a = m_menu->addAction(s(text));
    a->setObjectName(s(objectName));
    const QString entry = s(log);
    connect(a, &QAction::triggered, this, [this, entry, run] {
        ErrorHandler::run(this, [&] {
            WriteLog(entry);
            run();
        });
    });
    return a;
}

QAction *FolderView::menuAction(const QString &objectName) const
{
    for (QAction *a : m_menu->actions())
        if (a->objectName() == objectName)
            return a;
    return nullptr;
}

void FolderView::setFolder(const QString &path)
{
    const QString folder = DocumentFolders::bounded(path);
    if (folder == m_model->folder()) {
        refresh();
        return;
    }
    m_refreshPending = false;
    m_model->load(folder);
    watch();
    if (m_model->rowCount() > 0)
        currentView()->setCurrentIndex(QModelIndex());
}

QString FolderView::folder() const
{
    return m_model->folder();
}

void FolderView::refresh()
{
    // The in-place editor lives on the viewport while a name is being edited.
    const auto editors = currentView()->viewport()->findChildren<QLineEdit *>();
    if (std::any_of(editors.begin(), editors.end(), [](const QLineEdit *e) { return e->isVisible(); })) {
        m_refreshPending = true;
        return;
    }
    m_refreshPending = false;
    const QStringList selected = [this] {
        QStringList names;
        for (const QString &p : selectedPaths())
            names << QFileInfo(p).fileName();
        return names;
    }();
    m_model->load(DocumentFolders::bounded(m_model->folder().isEmpty() ? DocumentFolders::root() : m_model->folder()));
    watch();
    selectNames(selected);
}

void FolderView::watch()
{
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    if (QFileInfo(m_model->folder()).isDir())
        m_watcher->addPath(m_model->folder());
}

QAbstractItemView *FolderView::currentView() const
{
    return m_mode == Mode::Details ? static_cast<QAbstractItemView *>(m_details) : m_icons;
}

void FolderView::setMode(Mode mode)
{
    m_mode = mode;
    switch (mode) {
    case Mode::LargeIcons:
        m_icons->setViewMode(QListView::IconMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setWrapping(true);
        m_icons->setIconSize(QSize(48, 48));
        m_icons->setGridSize(QSize(110, 100));  // room for a name on two lines under the picture
        m_icons->setSpacing(0);
        break;
    case Mode::SmallIcons:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setWrapping(true);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(QSize(150, 22));
        m_icons->setSpacing(0);
        break;
    case Mode::List:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::TopToBottom);
        m_icons->setWrapping(true);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(QSize());
        m_icons->setSpacing(1);
        break;
    case Mode::Details:
        break;
    }
    // Icon mode lays its items out by the grid; the list modes keep them where they are told.
    m_icons->setMovement(QListView::Static);
    m_icons->setWordWrap(mode == Mode::LargeIcons);
    m_icons->setTextElideMode(mode == Mode::LargeIcons ? Qt::ElideRight : Qt::ElideMiddle);
    m_stack->setCurrentWidget(currentView());
    for (QAction *a : m_modes->actions())
        if (a->data().toInt() == int(mode))
            a->setChecked(true);
}

void FolderView::sortByName()
{
    m_details->sortByColumn(FolderModel::Name, Qt::AscendingOrder);
    m_model->sort(FolderModel::Name, Qt::AscendingOrder);
}

QStringList FolderView::selectedPaths() const
{
    QStringList out;
    QList<int> order;
    for (const QModelIndex &i : m_icons->selectionModel()->selectedIndexes())
        if (!order.contains(i.row()))
            order << i.row();
    std::sort(order.begin(), order.end());
    for (int row : order)
        out << m_model->pathAt(m_model->index(row, FolderModel::Name));
    return out;
}

void FolderView::selectNames(const QStringList &names)
{
    QItemSelectionModel *sel = m_icons->selectionModel();
    sel->clearSelection();
    for (const QString &n : names) {
        const QModelIndex i = m_model->indexOf(n);
        if (i.isValid())
            sel->select(i, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void FolderView::activate(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString path = m_model->pathAt(index);
    if (!m_model->isFolder(index)) {
        Shell::open(QDir::toNativeSeparators(path));
        return;
    }
    const QString target = DocumentFolders::resolve(path);
    if (!DocumentFolders::isInside(target))
        return;  // a link that leads out of the document folders is not followed
    setFolder(target);
    emit folderEntered(folder());
}

void FolderView::copyToClipboard(bool cut)
{
    QStringList files;
    for (const QString &p : selectedPaths())
        if (QFileInfo(p).isFile())
            files << p;
    if (files.isEmpty())
        return;
    QGuiApplication::clipboard()->setMimeData(DocumentFolders::clipboardData(files, cut));
}

int FolderView::pasteFromClipboard()
{
    const DocumentFolders::ClipboardFiles clip = DocumentFolders::clipboardFiles(QGuiApplication::clipboard()->mimeData());
    int arrived = 0;
    QStringList names;
    for (const QString &f : clip.files) {
        const DocumentFolders::Pasted r = DocumentFolders::paste(f, folder(), clip.cut);
        if (r == DocumentFolders::Pasted::Copied || r == DocumentFolders::Pasted::Moved) {
            ++arrived;
            names << QFileInfo(f).fileName();
        }
    }
    // Files moved away are no longer where the clipboard says: a second paste has nothing to take.
    if (clip.cut && arrived > 0)
        QGuiApplication::clipboard()->clear();
    refresh();
    selectNames(names);
    return arrived;
}
