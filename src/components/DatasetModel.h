#pragma once

#include "DataSource.h"
#include "GridColumn.h"

#include <QAbstractItemModel>
#include <QPointer>
#include <memory>
#include <vector>

// The rows of a dataset as a view model: sorted and grouped as a view only (the
// dataset's own order is untouched). Leaf rows map to the dataset's visible rows;
// group rows carry a caption, a value and a count.
class DatasetModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit DatasetModel(QObject *parent = nullptr);
    ~DatasetModel() override;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }
    Dataset *dataset() const;
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    int columnOfField(const QString &field) const;

    // Grouping levels by column, outermost first.
    void setGrouping(const QList<int> &columns);
    QList<int> grouping() const { return m_grouping; }
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    bool isGroup(const QModelIndex &index) const;
    // The dataset's visible row of a leaf; -1 for a group row.
    int datasetRow(const QModelIndex &index) const;
    QModelIndex indexOfDatasetRow(int visibleRow, int column = 0) const;
    int groupCount(const QModelIndex &group) const;

    // The dataset's visible rows in the order the grid shows them, groups flattened.
    std::vector<int> rowsInViewOrder() const;
    // A cell as the grid shows it, and as the field holds it (typed; a lookup's text).
    QString displayText(int visibleRow, int column) const { return cellText(visibleRow, column); }
    QVariant cellValue(int visibleRow, int column) const;
    QVariant cellStored(int visibleRow, int column) const;
    // A plain text cell's stored UTF-8 bytes (Dataset::storedTextAt); null when the cell
    // is shown otherwise (numbers with decimals, lookups, the row being edited).
    QUtf8StringView cellStoredText(int visibleRow, int column) const;
    FieldKind columnKind(int column) const;

    // Re-reads the dataset (rows added, removed, filtered, reopened).
    void rebuild();

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

Q_SIGNALS:
    void rebuilt();

private:
    struct Node;
    Node *nodeOf(const QModelIndex &index) const;  // the group node an index stands for; root for invalid
    void build();
    void buildLevel(Node *node, const std::vector<int> &rows, int level);
    void resolveFields();
    QString cellText(int visibleRow, int column) const;
    void rowChanged(int visibleRow);

    QPointer<DataSource> m_source;
    QPointer<Dataset> m_dataset;
    QList<GridColumn> m_columns;
    QList<int> m_fields;
    QList<int> m_grouping;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    std::unique_ptr<Node> m_root;
    std::vector<std::pair<Node *, int>> m_where;  // visible row -> leaf node and position
};
