#pragma once

#include "DatasetModel.h"

#include <QWidget>

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

Q_SIGNALS:
    void rowDoubleClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addGroupColumn(int column);
    void refreshPanel();
    void afterRebuild();
    void followDataset();
    void currentIndexChanged(const QModelIndex &current);

    DatasetModel *m_model;
    QTreeView *m_view;
    QFrame *m_panel;
    QLabel *m_hint;
    QHBoxLayout *m_chips;
    bool m_syncing = false;
};
