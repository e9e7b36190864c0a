#include "DatasetModel.h"

#include "ColourValue.h"
#include "NumberText.h"

#include <functional>

#include <QFont>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <numeric>

struct DatasetModel::Node
{
    Node *parent = nullptr;
    int indexInParent = 0;
    int column = -1;  // the grid column this group is by
    QString value;    // the group's value as shown
    int count = 0;    // leaf rows under it
    std::vector<std::unique_ptr<Node>> groups;
    std::vector<int> rows;  // dataset visible rows, when the node holds leaves
};

namespace {

// Orders typed values: numbers by value, dates by date, text without regard to case; nulls first.
int compareValues(const QVariant &a, const QVariant &b)
{
    const bool an = !a.isValid() || a.isNull();
    const bool bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    switch (a.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
    case QMetaType::Bool: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case QMetaType::QDate:
        return a.toDate() < b.toDate() ? -1 : (b.toDate() < a.toDate() ? 1 : 0);
    case QMetaType::QDateTime:
        return a.toDateTime() < b.toDateTime() ? -1 : (b.toDateTime() < a.toDateTime() ? 1 : 0);
    default:
        return a.toString().compare(b.toString(), Qt::CaseInsensitive);
    }
}

}  // namespace

DatasetModel::DatasetModel(QObject *parent) : QAbstractItemModel(parent), m_root(std::make_unique<Node>()) {}

DatasetModel::~DatasetModel() = default;

Dataset *DatasetModel::dataset() const
{
    return m_dataset;
}

void DatasetModel::setDataSource(DataSource *source)
{
    if (m_dataset)
        disconnect(m_dataset, nullptr, this, nullptr);
    m_source = source;
    m_dataset = source ? source->dataset() : nullptr;
    if (m_dataset) {
        connect(m_dataset, &Dataset::dataReset, this, &DatasetModel::rebuild);
        connect(m_dataset, &Dataset::rowInserted, this, &DatasetModel::rebuild);
        connect(m_dataset, &Dataset::rowRemoved, this, &DatasetModel::rebuild);
        connect(m_dataset, &Dataset::rowUpdated, this, &DatasetModel::rowChanged);
        connect(m_dataset, &Dataset::stateChanged, this, [this] {
            if (m_dataset && m_dataset->isActive() && m_dataset->state() != Dataset::State::Insert)
                rowChanged(m_dataset->currentRow());
        });
        connect(m_dataset, &Dataset::fieldChanged, this, [this] {
            if (m_dataset && m_dataset->state() == Dataset::State::Edit)
                rowChanged(m_dataset->currentRow());
        });
        connect(m_dataset, &Dataset::lookupSourceChanged, this, [this] {
            if (rowCount() > 0)
                Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        });
    }
    rebuild();
}

void DatasetModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_grouping.clear();
    m_sortColumn = -1;
    resolveFields();
    build();
    endResetModel();
    Q_EMIT rebuilt();
}

int DatasetModel::columnOfField(const QString &field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void DatasetModel::setGrouping(const QList<int> &columns)
{
    beginResetModel();
    m_grouping = columns;
    build();
    endResetModel();
    Q_EMIT rebuilt();
}

void DatasetModel::sort(int column, Qt::SortOrder order)
{
    if (column == m_sortColumn && order == m_sortOrder)
        return;
    beginResetModel();
    m_sortColumn = column;
    m_sortOrder = order;
    build();
    endResetModel();
    Q_EMIT rebuilt();
}

void DatasetModel::rebuild()
{
    beginResetModel();
    resolveFields();
    build();
    endResetModel();
    Q_EMIT rebuilt();
}

void DatasetModel::resolveFields()
{
    m_fields.clear();
    for (const GridColumn &c : std::as_const(m_columns))
        m_fields << (m_dataset && m_dataset->isActive() ? m_dataset->fieldIndex(c.field) : -1);
}

void DatasetModel::build()
{
    m_root = std::make_unique<Node>();
    m_where.clear();
    if (!m_dataset || !m_dataset->isActive())
        return;
    int n = 0;
    try {
        n = m_dataset->recordCount();
    } catch (const DatasetError &) {
        return;
    }
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    if (m_sortColumn >= 0 && m_sortColumn < m_fields.size() && m_fields.at(m_sortColumn) >= 0) {
        const int f = m_fields.at(m_sortColumn);
        std::vector<QVariant> keys(static_cast<size_t>(n));
        for (int r = 0; r < n; ++r)
            keys[size_t(r)] = m_dataset->valueAt(r, f);
        const bool desc = m_sortOrder == Qt::DescendingOrder;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int c = compareValues(keys[size_t(a)], keys[size_t(b)]);
            return desc ? c > 0 : c < 0;
        });
    }
    m_where.assign(size_t(n), {nullptr, -1});
    buildLevel(m_root.get(), order, 0);
}

void DatasetModel::buildLevel(Node *node, const std::vector<int> &rows, int level)
{
    node->count = int(rows.size());
    const int groupColumn = level < m_grouping.size() ? m_grouping.at(level) : -1;
    const int f = groupColumn >= 0 && groupColumn < m_fields.size() ? m_fields.at(groupColumn) : -1;
    if (f < 0) {
        node->rows = rows;
        for (size_t i = 0; i < rows.size(); ++i)
            m_where[size_t(rows[i])] = {node, int(i)};
        return;
    }
    // Bucket by the shown text, then order the groups by their typed value.
    QHash<QString, int> bucketOf;
    std::vector<std::vector<int>> buckets;
    std::vector<QString> labels;
    std::vector<QVariant> keys;
    for (int r : rows) {
        const QString text = cellText(r, groupColumn);
        auto it = bucketOf.constFind(text);
        int b;
        if (it == bucketOf.constEnd()) {
            b = int(buckets.size());
            bucketOf.insert(text, b);
            buckets.emplace_back();
            labels.push_back(text);
            keys.push_back(m_dataset->valueAt(r, f));
        } else {
            b = *it;
        }
        buckets[size_t(b)].push_back(r);
    }
    std::vector<int> groupOrder(buckets.size());
    std::iota(groupOrder.begin(), groupOrder.end(), 0);
    const bool desc = m_sortColumn == groupColumn && m_sortOrder == Qt::DescendingOrder;
    std::stable_sort(groupOrder.begin(), groupOrder.end(), [&](int a, int b) {
        const int c = compareValues(keys[size_t(a)], keys[size_t(b)]);
        return desc ? c > 0 : c < 0;
    });
    for (int b : groupOrder) {
        auto child = std::make_unique<Node>();
        child->parent = node;
        child->indexInParent = int(node->groups.size());
        child->column = groupColumn;
        child->value = labels[size_t(b)];
        buildLevel(child.get(), buckets[size_t(b)], level + 1);
        node->groups.push_back(std::move(child));
    }
}

std::vector<int> DatasetModel::rowsInViewOrder() const
{
    std::vector<int> out;
    if (!m_root)
        return out;
    out.reserve(m_where.size());
    const std::function<void(const Node *)> walk = [&](const Node *node) {
        if (node->groups.empty()) {
            out.insert(out.end(), node->rows.begin(), node->rows.end());
            return;
        }
        for (const auto &g : node->groups)
            walk(g.get());
    };
    walk(m_root.get());
    return out;
}

QVariant DatasetModel::cellValue(int visibleRow, int column) const
{
    const int f = m_fields.value(column, -1);
    if (f < 0 || !m_dataset)
        return {};
    return m_dataset->valueAt(visibleRow, f);
}

QVariant DatasetModel::cellStored(int visibleRow, int column) const
{
    const int f = m_fields.value(column, -1);
    if (f < 0 || !m_dataset)
        return {};
    return m_dataset->storedValueAt(visibleRow, f);
}

QUtf8StringView DatasetModel::cellStoredText(int visibleRow, int column) const
{
    const int f = m_fields.value(column, -1);
    if (f < 0 || !m_dataset || m_columns.at(column).decimals >= 0)
        return {};
    return m_dataset->storedTextAt(visibleRow, f);
}

FieldKind DatasetModel::columnKind(int column) const
{
    const int f = m_fields.value(column, -1);
    if (f < 0 || !m_dataset || !m_dataset->isActive())
        return FieldKind::Variant;
    return m_dataset->fieldDef(f).kind;
}

QString DatasetModel::cellText(int visibleRow, int column) const
{
    const int f = m_fields.value(column, -1);
    if (f < 0 || !m_dataset)
        return {};
    const GridColumn &c = m_columns.at(column);
    if (c.decimals >= 0) {
        const QVariant v = m_dataset->valueAt(visibleRow, f);
        if (!v.isValid() || v.isNull())
            return {};
        return NumberText::fixed(v.toDouble(), c.decimals);
    }
    return m_dataset->textAt(visibleRow, f);
}

DatasetModel::Node *DatasetModel::nodeOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return m_root.get();
    auto *parent = static_cast<Node *>(index.internalPointer());
    if (!parent || parent->groups.empty() || index.row() >= int(parent->groups.size()))
        return nullptr;
    return parent->groups[size_t(index.row())].get();
}

QModelIndex DatasetModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column < 0 || column >= columnCount() || row < 0)
        return {};
    Node *node = nodeOf(parent);
    if (!node)
        return {};
    const int size = node->groups.empty() ? int(node->rows.size()) : int(node->groups.size());
    if (row >= size)
        return {};
    return createIndex(row, column, node);
}

QModelIndex DatasetModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    auto *node = static_cast<Node *>(child.internalPointer());
    if (!node || node == m_root.get())
        return {};
    return createIndex(node->indexInParent, 0, node->parent);
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    Node *node = nodeOf(parent);
    if (!node)
        return 0;
    return node->groups.empty() ? int(node->rows.size()) : int(node->groups.size());
}

int DatasetModel::columnCount(const QModelIndex &) const
{
    return int(m_columns.size());
}

bool DatasetModel::isGroup(const QModelIndex &index) const
{
    if (!index.isValid())
        return false;
    auto *parent = static_cast<Node *>(index.internalPointer());
    return parent && !parent->groups.empty();
}

int DatasetModel::datasetRow(const QModelIndex &index) const
{
    if (!index.isValid() || isGroup(index))
        return -1;
    auto *parent = static_cast<Node *>(index.internalPointer());
    if (!parent || index.row() >= int(parent->rows.size()))
        return -1;
    return parent->rows[size_t(index.row())];
}

QModelIndex DatasetModel::indexOfDatasetRow(int visibleRow, int column) const
{
    if (visibleRow < 0 || size_t(visibleRow) >= m_where.size() || !m_where[size_t(visibleRow)].first)
        return {};
    const auto &w = m_where[size_t(visibleRow)];
    return createIndex(w.second, column, w.first);
}

int DatasetModel::groupCount(const QModelIndex &group) const
{
    Node *node = nodeOf(group);
    return node ? node->count : 0;
}

void DatasetModel::rowChanged(int visibleRow)
{
    const QModelIndex first = indexOfDatasetRow(visibleRow, 0);
    if (first.isValid())
        Q_EMIT dataChanged(first, first.siblingAtColumn(columnCount() - 1));
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_dataset || !m_dataset->isActive())
        return {};
    if (isGroup(index)) {
        Node *node = nodeOf(index);
        if (!node)
            return {};
        if (role == Qt::DisplayRole && index.column() == 0)
            return QStringLiteral("%1：%2（%3 条）")
                .arg(m_columns.value(node->column).caption,
                     node->value.isEmpty() ? QStringLiteral("（空）") : node->value)
                .arg(node->count);
        if (role == Qt::FontRole) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    }
    const int row = datasetRow(index);
    if (row < 0)
        return {};
    const GridColumn &c = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        if (c.tick)
            return {};
        return cellText(row, index.column());
    case Qt::CheckStateRole:
        if (!c.tick)
            return {};
        return m_dataset->valueAt(row, m_fields.at(index.column())).toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return int(c.alignment);
    case Qt::DecorationRole: {
        if (!c.swatch)
            return {};
        const QVariant v = m_dataset->valueAt(row, m_fields.at(index.column()));
        if (!v.isValid() || v.isNull())
            return {};
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        return ok ? QVariant(ColourValue::swatch(n)) : QVariant();
    }
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns.at(section).caption;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
