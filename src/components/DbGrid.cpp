#include "DbGrid.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "GridExport.h"
#include "GridFindBar.h"
#include "GridLayout.h"
#include "Messages.h"

#include <QApplication>
#include <QFileInfo>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QProgressDialog>
#include <QTimer>
#include <QMouseEvent>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const char *const ColumnMime = "application/x-qlm-grid-column";

// Rows beyond which an export shows its progress and can be cancelled.
constexpr int ExportProgressRows = 2000;

std::function<bool()> &defaultExportPermission()
{
    static std::function<bool()> allowed;
    return allowed;
}

std::function<void(const QString &)> &exportLogger()
{
    static std::function<void(const QString &)> log;
    return log;
}

// A header that lets a column be dragged out of it, up into the group panel.
class GridHeader : public QHeaderView
{
public:
    explicit GridHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
    {
        setSectionsClickable(true);
        setHighlightSections(false);
        setSortIndicatorShown(true);
        setStretchLastSection(true);
    }

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        m_pressPos = e->position().toPoint();
        m_pressSection = logicalIndexAt(m_pressPos);
        QHeaderView::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        const QPoint p = e->position().toPoint();
        // Leaving the header upwards starts a drag of the column to the group panel.
        if ((e->buttons() & Qt::LeftButton) && m_pressSection >= 0 && p.y() < -QApplication::startDragDistance()) {
            auto *mime = new QMimeData;
            mime->setData(QString::fromLatin1(ColumnMime), QByteArray::number(m_pressSection));
            auto *drag = new QDrag(this);
            drag->setMimeData(mime);
            const QRect r(sectionViewportPosition(m_pressSection), 0, sectionSize(m_pressSection), height());
            drag->setPixmap(viewport()->grab(r));
            m_pressSection = -1;
            drag->exec(Qt::MoveAction);
            return;
        }
        QHeaderView::mouseMoveEvent(e);
    }

private:
    QPoint m_pressPos;
    int m_pressSection = -1;
};

}  // namespace

DbGrid::DbGrid(QWidget *parent) : QWidget(parent), m_model(new DatasetModel(this))
{
    m_exportXlsx = new QAction(QStringLiteral("导出到Excel…"), this);
    m_exportXlsx->setObjectName(QStringLiteral("actExportXlsx"));
    m_exportCsv = new QAction(QStringLiteral("导出到CSV…"), this);
    m_exportCsv->setObjectName(QStringLiteral("actExportCsv"));
    connect(m_exportXlsx, &QAction::triggered, this, [this] { exportRows(ExportFormat::Xlsx); });
    connect(m_exportCsv, &QAction::triggered, this, [this] { exportRows(ExportFormat::Csv); });
    m_find = new QAction(QStringLiteral("查找…"), this);
    m_find->setObjectName(QStringLiteral("actFind"));
    m_find->setShortcut(QKeySequence::Find);
    m_find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(m_find);
    connect(m_find, &QAction::triggered, this, [this] { m_findBar->open(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("groupPanel"));
    m_panel->setFrameShape(QFrame::StyledPanel);
    m_panel->setAcceptDrops(true);
    m_panel->installEventFilter(this);
    m_panel->setMinimumHeight(30);
    m_chips = new QHBoxLayout(m_panel);
    m_chips->setContentsMargins(6, 3, 6, 3);
    m_hint = new QLabel(QStringLiteral("拖动列标题到此处，按该列分组"), m_panel);
    m_hint->setEnabled(false);
    m_chips->addWidget(m_hint);
    m_chips->addStretch();
    layout->addWidget(m_panel);
    m_findBar = new GridFindBar(this);
    layout->addWidget(m_findBar);

    m_view = new QTreeView(this);
    m_view->setHeader(new GridHeader(m_view));
    m_view->setModel(m_model);
    m_view->setUniformRowHeights(true);
    m_view->setRootIsDecorated(false);
    m_view->setIndentation(14);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setAlternatingRowColors(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAllColumnsShowFocus(true);
    m_view->header()->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->setSortingEnabled(true);
    layout->addWidget(m_view, 1);

    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { showContextMenu(m_view->viewport(), pos); });
    connect(m_view->header(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { showContextMenu(m_view->header(), pos); });

    // What the user does to the columns is remembered a moment later (a drag resizes many times).
    m_saveTimer = new QTimer(this);
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(500);
    connect(m_saveTimer, &QTimer::timeout, this, &DbGrid::saveLayout);
    const auto changed = [this] {
        if (!m_restoring && !m_layoutFile.isEmpty()) {
            m_layoutDirty = true;
            m_saveTimer->start();
        }
    };
    connect(m_view->header(), &QHeaderView::sectionMoved, this, changed);
    connect(m_view->header(), &QHeaderView::sectionResized, this, changed);
    connect(m_model, &DatasetModel::rebuilt, this, changed);

    connect(m_model, &DatasetModel::rebuilt, this, &DbGrid::afterRebuild);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { currentIndexChanged(current); });
    connect(m_view, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        if (!m_model->isGroup(index))
            Q_EMIT rowDoubleClicked();
    });
}

void DbGrid::setDataSource(DataSource *source)
{
    if (Dataset *old = m_model->dataset())
        disconnect(old, nullptr, this, nullptr);
    m_model->setDataSource(source);
    if (Dataset *d = m_model->dataset())
        connect(d, &Dataset::currentChanged, this, &DbGrid::followDataset);
    followDataset();
}

DbGrid::~DbGrid()
{
    if (m_layoutDirty)
        saveLayout();
}

void DbGrid::saveLayout()
{
    m_saveTimer->stop();
    m_layoutDirty = false;
    if (!m_layoutFile.isEmpty())
        GridLayout::save(*this);
}

void DbGrid::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The user is known only after login: the layout is restored when the grid first shows for them.
    const QString file = GridLayout::settingsFile();
    if (file.isEmpty() || file == m_layoutFile)
        return;
    m_restoring = true;
    m_layoutFile = file;
    GridLayout::restore(*this);
    m_restoring = false;
}

void DbGrid::restoreDefaultColumns()
{
    m_restoring = true;
    QHeaderView *header = m_view->header();
    for (int logical = 0; logical < m_defaults.size(); ++logical) {
        header->moveSection(header->visualIndex(logical), logical);
        header->setSectionHidden(logical, m_defaults.at(logical).hidden);
        header->resizeSection(logical, m_defaults.at(logical).width);
    }
    clearGrouping();
    m_restoring = false;
    m_saveTimer->stop();
    m_layoutDirty = false;
    GridLayout::forget(*this);
}

bool DbGrid::chooseColumns()
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlgColumns"));
    dialog.setWindowTitle(QStringLiteral("显示列"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *hint = new QLabel(QStringLiteral("勾选要显示的列，拖动调整顺序："), &dialog);
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("columnList"));
    list->setDragDropMode(QAbstractItemView::InternalMove);
    hint->setBuddy(list);
    QHeaderView *header = m_view->header();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        auto *item = new QListWidgetItem(m_model->columns().at(logical).caption, list);
        item->setData(Qt::UserRole, logical);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled);
        item->setCheckState(header->isSectionHidden(logical) ? Qt::Unchecked : Qt::Checked);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(hint);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    if (Dialogs::showModal(&dialog) != QDialog::Accepted)
        return false;
    int shown = 0;
    for (int i = 0; i < list->count(); ++i)
        shown += list->item(i)->checkState() == Qt::Checked ? 1 : 0;
    if (shown == 0)
        return false;  // a grid without a column shows nothing at all: keep it as it was
    for (int i = 0; i < list->count(); ++i) {
        const int logical = list->item(i)->data(Qt::UserRole).toInt();
        header->moveSection(header->visualIndex(logical), i);
        header->setSectionHidden(logical, list->item(i)->checkState() != Qt::Checked);
    }
    saveLayout();
    return true;
}

void DbGrid::setColumns(const QList<GridColumn> &columns)
{
    m_defaults = columns;
    m_model->setColumns(columns);
    for (int i = 0; i < columns.size(); ++i) {
        m_view->setColumnHidden(i, columns.at(i).hidden);
        m_view->setColumnWidth(i, columns.at(i).width);
    }
    m_view->header()->setSortIndicator(-1, Qt::AscendingOrder);
    refreshPanel();
}

void DbGrid::setDefaultExportPermission(std::function<bool()> allowed)
{
    defaultExportPermission() = std::move(allowed);
}

void DbGrid::setExportLogger(std::function<void(const QString &)> log)
{
    exportLogger() = std::move(log);
}

bool DbGrid::canExport() const
{
    Dataset *d = m_model->dataset();
    if (!d || !d->isActive())
        return false;
    if (m_exportAllowed)
        return m_exportAllowed();
    return defaultExportPermission() && defaultExportPermission()();
}

QAction *DbGrid::exportAction(ExportFormat format) const
{
    return format == ExportFormat::Xlsx ? m_exportXlsx : m_exportCsv;
}

void DbGrid::addContextActions(QMenu *menu) const
{
    const bool allowed = canExport();
    m_exportXlsx->setEnabled(allowed);
    m_exportCsv->setEnabled(allowed);
    menu->addAction(m_find);
    menu->addSeparator();
    menu->addAction(m_exportXlsx);
    menu->addAction(m_exportCsv);
}

void DbGrid::showContextMenu(QWidget *from, const QPoint &pos)
{
    QMenu menu(this);
    if (from == m_view->header()) {
        menu.addAction(QStringLiteral("显示列…"), this, [this] { chooseColumns(); });
        menu.addAction(QStringLiteral("恢复默认列"), this, [this] { restoreDefaultColumns(); });
        menu.addSeparator();
    }
    addContextActions(&menu);
    menu.exec(from->mapToGlobal(pos));
}

QString DbGrid::windowCaption() const
{
    // The hosted page or dialog the grid sits in names it, not the main window around it.
    for (const QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (!w->windowTitle().isEmpty())
            return w->windowTitle();
    return {};
}

bool DbGrid::exportRows(ExportFormat format)
{
    if (!canExport())
        return false;
    const bool xlsx = format == ExportFormat::Xlsx;
    QString path = Dialogs::saveFile(this, xlsx ? QStringLiteral("导出到Excel") : QStringLiteral("导出到CSV"), {},
                                     xlsx ? QStringLiteral("Excel 工作簿 (*.xlsx)") : QStringLiteral("CSV 文件 (*.csv)"));
    if (path.isEmpty())
        return false;
    const QString suffix = xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    bool written = false;
    ErrorHandler::run(this, [&] {
        if (exportLogger())
            exportLogger()(QStringLiteral("导出-") + windowCaption() + u'-' + QFileInfo(path).fileName());
        Dataset *d = m_model->dataset();
        if (d->state() != Dataset::State::Browse)
            d->post();  // the rows written are the rows stored
        const QList<GridExport::Column> columns = GridExport::shownColumns(*this);
        // A long export shows its progress modally: the grid cannot change while it is read.
        std::unique_ptr<QProgressDialog> dialog;
        GridExport::Progress progress;
        if (int(m_model->rowsInViewOrder().size()) > ExportProgressRows) {
            dialog = std::make_unique<QProgressDialog>(QStringLiteral("正在导出…"), QStringLiteral("取消"), 0, 100, this);
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->setMinimumDuration(500);
            progress = [&dialog](int done, int total) {
                dialog->setMaximum(total);
                dialog->setValue(done);
                return !dialog->wasCanceled();
            };
        }
        const GridExport::Result r = xlsx ? GridExport::writeXlsx(path, *m_model, columns, progress)
                                          : GridExport::writeCsv(path, *m_model, columns, progress);
        if (!r.error.isEmpty())
            Messages::warning(this, r.error);
        written = r.written;
    });
    return written;
}

void DbGrid::setGroupPanelVisible(bool visible)
{
    m_panel->setVisible(visible);
}

bool DbGrid::isGroupPanelVisible() const
{
    return m_panel->isVisibleTo(this);
}

void DbGrid::addGroupColumn(int column)
{
    QList<int> g = m_model->grouping();
    if (column < 0 || column >= m_model->columnCount() || g.contains(column))
        return;
    g << column;
    m_model->setGrouping(g);
    refreshPanel();
}

void DbGrid::groupBy(const QString &field)
{
    addGroupColumn(m_model->columnOfField(field));
}

void DbGrid::ungroup(const QString &field)
{
    QList<int> g = m_model->grouping();
    g.removeAll(m_model->columnOfField(field));
    m_model->setGrouping(g);
    refreshPanel();
}

void DbGrid::clearGrouping()
{
    m_model->setGrouping({});
    refreshPanel();
}

QStringList DbGrid::groupedFields() const
{
    QStringList out;
    for (int c : m_model->grouping())
        out << m_model->columns().at(c).field;
    return out;
}

void DbGrid::sortBy(const QString &field, Qt::SortOrder order)
{
    const int c = m_model->columnOfField(field);
    if (c >= 0)
        m_view->sortByColumn(c, order);
}

void DbGrid::expandAll()
{
    m_view->expandAll();
}

void DbGrid::collapseAll()
{
    m_view->collapseAll();
}

void DbGrid::refreshPanel()
{
    // Chips sit between the hint and the stretch.
    while (m_chips->count() > 2) {
        QLayoutItem *item = m_chips->takeAt(1);
        delete item->widget();
        delete item;
    }
    const QList<int> g = m_model->grouping();
    m_hint->setVisible(g.isEmpty());
    for (int i = 0; i < g.size(); ++i) {
        const GridColumn &c = m_model->columns().at(g.at(i));
        auto *chip = new QToolButton(m_panel);
        chip->setText(c.caption + QStringLiteral("  ×"));
        chip->setToolTip(QStringLiteral("取消按“%1”分组").arg(c.caption));
        chip->setAccessibleName(QStringLiteral("分组：%1").arg(c.caption));
        chip->setObjectName(QStringLiteral("group_") + c.field);
        const QString field = c.field;
        connect(chip, &QToolButton::clicked, this, [this, field] { ungroup(field); });
        m_chips->insertWidget(1 + i, chip);
    }
}

void DbGrid::afterRebuild()
{
    const bool grouped = !m_model->grouping().isEmpty();
    m_view->setRootIsDecorated(grouped);
    if (grouped) {
        // Group rows span the grid; walk them level by level.
        std::function<void(const QModelIndex &)> span = [&](const QModelIndex &parent) {
            const int rows = m_model->rowCount(parent);
            for (int r = 0; r < rows; ++r) {
                const QModelIndex i = m_model->index(r, 0, parent);
                if (!m_model->isGroup(i))
                    return;
                m_view->setFirstColumnSpanned(r, parent, true);
                span(i);
            }
        };
        span({});
        m_view->expandAll();
    }
    followDataset();
}

void DbGrid::followDataset()
{
    Dataset *d = m_model->dataset();
    if (m_syncing || !d || !d->isActive())
        return;
    int row = -1;
    try {
        row = d->currentRow();
    } catch (const DatasetError &) {
        return;
    }
    const QModelIndex target = m_model->indexOfDatasetRow(row);
    m_syncing = true;
    if (target.isValid()) {
        m_view->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_view->scrollTo(target);
    } else {
        m_view->selectionModel()->clearSelection();
    }
    m_syncing = false;
}

void DbGrid::currentIndexChanged(const QModelIndex &current)
{
    if (m_syncing)
        return;
    Dataset *d = m_model->dataset();
    const int row = m_model->datasetRow(current);
    if (!d || row < 0)
        return;
    m_syncing = true;
    const bool ok = ErrorHandler::run(this, [&] {
        if (d->currentRow() != row || d->state() != Dataset::State::Browse)
            d->setCurrentRow(row);
    });
    m_syncing = false;
    if (!ok)
        followDataset();  // the move was refused (a pending row could not be saved): back to where the dataset is
}

bool DbGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto *e = static_cast<QDragMoveEvent *>(event);
            if (e->mimeData()->hasFormat(QString::fromLatin1(ColumnMime))) {
                e->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto *e = static_cast<QDropEvent *>(event);
            if (e->mimeData()->hasFormat(QString::fromLatin1(ColumnMime))) {
                addGroupColumn(e->mimeData()->data(QString::fromLatin1(ColumnMime)).toInt());
                e->acceptProposedAction();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
