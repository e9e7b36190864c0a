#pragma once

#include "DatasetModel.h"

#include <QWidget>
#include <functional>

class GridFindBar;
class QAction;
class QMenu;
class QTreeView;
class QHBoxLayout;
class QLabel;
class QFrame;

// A data grid over a data source: columns with captions and formats, sorting by
// clicking a header, grouping by dragging headers into the panel above it (several
// levels, a count per group), whole-row selection, and the current row kept in step
// with the dataset's in both directions.
class DbGrid : public QWidget
{
    Q_OBJECT

public:
    explicit DbGrid(QWidget *parent = nullptr);
    ~DbGrid() override;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_model->dataSource(); }
    void setColumns(const QList<GridColumn> &columns);
    DatasetModel *model() const { return m_model; }
    QTreeView *view() const { return m_view; }

    void setGroupPanelVisible(bool visible);
    bool isGroupPanelVisible() const;
    // Adds a grouping level by field name (what dropping a header does).
    void groupBy(const QString &field);
    void ungroup(const QString &field);
    void clearGrouping();
    QStringList groupedFields() const;
    void sortBy(const QString &field, Qt::SortOrder order = Qt::AscendingOrder);
    void expandAll();
    void collapseAll();

    // Export discloses what printing does: the window hands the grid its print command's
    // test. A grid without one exports for whoever the application's default allows.
    enum class ExportFormat { Xlsx, Csv };
    void setExportPermission(std::function<bool()> allowed) { m_exportAllowed = std::move(allowed); }
    bool canExport() const;
    // Asks for a file through the dialog seam and writes the rows as shown; false when
    // nothing was written (refused, cancelled or failed: a failure is told).
    bool exportRows(ExportFormat format);
    QAction *exportAction(ExportFormat format) const;
    // "显示列…": tick columns in or out and drag them into order (a modal dialog).
    bool chooseColumns();
    // "恢复默认列": the window's own layout again, and nothing remembered.
    void restoreDefaultColumns();
    // The layout as the user left it is saved shortly after each change and when the grid goes.
    void saveLayout();

    // Ctrl+F or "查找…": the find bar over the grid.
    GridFindBar *findBar() const { return m_findBar; }

    // The grid's own items of its pop-up menu, for windows that build their own menu.
    void addContextActions(QMenu *menu) const;
    // Set once by the application: who may export where the window said nothing, and
    // how an export is written to the system log.
    static void setDefaultExportPermission(std::function<bool()> allowed);
    static void setExportLogger(std::function<void(const QString &entry)> log);

Q_SIGNALS:
    void rowDoubleClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void addGroupColumn(int column);
    void refreshPanel();
    void afterRebuild();
    void followDataset();
    void currentIndexChanged(const QModelIndex &current);
    void showContextMenu(QWidget *from, const QPoint &pos);
    QString windowCaption() const;

    DatasetModel *m_model;
    QTreeView *m_view;
    QFrame *m_panel;
    QLabel *m_hint;
    QHBoxLayout *m_chips;
    bool m_syncing = false;
    std::function<bool()> m_exportAllowed;
    QAction *m_exportXlsx;
    QAction *m_exportCsv;
    QAction *m_find;
    GridFindBar *m_findBar;
    QList<GridColumn> m_defaults;
    QString m_layoutFile;    // the settings file the layout was last restored from
    bool m_restoring = false;
    bool m_layoutDirty = false;
    class QTimer *m_saveTimer;
};
