#include "Dataset.h"

#include "Database.h"
#include "PackedRow.h"
#include "DateText.h"
#include "SqlDialect.h"
#include "SqlValue.h"
#include "Statement.h"

#include <QLocale>
#include <QSet>

#include <unordered_set>

namespace {

// Key text for joins and lookups: text without regard to case, numbers by value.
QString foldKey(const QVariant &stored)
{
    if (!stored.isValid() || stored.isNull())
        return {};
    switch (stored.typeId()) {
    case QMetaType::Double: {
        const double d = stored.toDouble();
        if (d == double(qint64(d)))
            return QString::number(qint64(d));
        return QString::number(d, 'g', 17);
    }
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(stored.toLongLong());
    default:
        return stored.toString().toCaseFolded();
    }
}

qsizetype codePoints(const QString &s)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < s.size(); ++i)
        if (!s.at(i).isLowSurrogate())
            ++n;
    return n;
}

QString shortest(double d)
{
    return QString::number(d, 'f', QLocale::FloatingPointShortest);
}

}  // namespace

Dataset::Dataset(Database *db, const QString &name, QObject *parent) : QObject(parent), m_db(db)
{
    setObjectName(name);
}

Dataset::~Dataset() = default;

void Dataset::setDatabase(Database *db)
{
    if (isActive())
        raise(QStringLiteral("数据集 %1 打开时不能更换数据库").arg(name()));
    m_db = db;
}

void Dataset::raise(const QString &message) const
{
    throw DatasetError(message);
}

void Dataset::checkActive() const
{
    if (m_state == State::Inactive)
        raise(QStringLiteral("数据集 %1 没有打开，不能进行此操作").arg(name()));
}

void Dataset::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT stateChanged(state);
}

// ---------------------------------------------------------------- open and close

void Dataset::open()
{
    if (isActive())
        return;
    if (!m_db)
        raise(QStringLiteral("数据集 %1 没有连接数据库").arg(name()));
    try {
        m_fields = describe();
    } catch (const DbError &e) {
        raise(e.message());
    }
    m_dataFieldCount = int(m_fields.size());
    m_fields += m_lookupDefs;
    for (LookupDef &l : m_lookups) {
        l.resolved = false;
        l.keyField = fieldIndex(l.keyFieldName);
        if (l.keyField < 0 || l.keyField >= m_dataFieldCount)
            raise(QStringLiteral("数据集 %1 的查找字段缺少关键字段 %2").arg(name(), l.keyFieldName));
    }
    m_detailField = m_detailFieldName.isEmpty() ? -1 : fieldIndex(m_detailFieldName);
    if (!m_detailFieldName.isEmpty() && m_detailField < 0)
        raise(QStringLiteral("数据集 %1 中没有明细关联字段 %2").arg(name(), m_detailFieldName));
    m_rows.clear();
    m_visible.clear();
    m_visibleByRowId.clear();
    m_loaded = false;
    m_groupIndexValid = false;
    invalidateIndexes();
    m_cur = -1;
    m_bof = m_eof = true;
    if (m_filtered && !m_filterExpr.isEmpty())
        m_filterPredicate = compileFilter();  // an unknown name raises here, before the state changes
    m_linkKey = m_master ? foldKey(masterLinkValue()) : QString();
    setState(State::Browse);
    if (readsAtOpen()) {
        try {
            ensureRows();
        } catch (...) {
            m_rows.clear();
            m_visible.clear();
            m_visibleByRowId.clear();
            setState(State::Inactive);
            throw;
        }
    }
    Q_EMIT dataReset();
    Q_EMIT currentChanged();
}

void Dataset::close()
{
    if (!isActive())
        return;
    prepareMove();  // a pending change is posted, never dropped; a failed post raises and we stay open
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_visible.clear();
    m_visibleByRowId.clear();
    m_buffer.clear();
    m_loaded = false;
    m_groupIndexValid = false;
    m_groupIndex.clear();
    invalidateIndexes();
    m_cur = -1;
    m_bof = m_eof = true;
    setState(State::Inactive);
    Q_EMIT dataReset();
    Q_EMIT currentChanged();
}

void Dataset::refresh()
{
    checkActive();
    close();
    open();
}

void Dataset::ensureRows()
{
    checkActive();
    if (!m_loaded)
        loadRows();
}

void Dataset::loadRows()
{
    const qint64 keep = (m_cur >= 0 && m_cur < m_visible.size()) ? m_rows[size_t(m_visible.at(m_cur))].rowId : -1;
    std::vector<qint64> ids;
    std::vector<QByteArray> values;
    try {
        readRows(ids, values);
    } catch (const DbError &e) {
        raise(e.message());
    }
    m_rows.clear();
    m_rows.resize(ids.size());
    for (size_t i = 0; i < ids.size(); ++i) {
        m_rows[i].rowId = ids[i];
        m_rows[i].packed = std::move(values[i]);
    }
    m_loaded = true;
    m_groupIndexValid = false;
    rebuildVisible();
    const int at = keep >= 0 ? visibleRowOfRowId(keep) : -1;
    m_cur = at >= 0 ? at : (m_visible.isEmpty() ? -1 : 0);
    m_bof = at < 0;
    m_eof = m_visible.isEmpty();
}

// ---------------------------------------------------------------- visible rows

QVariant Dataset::masterLinkValue() const
{
    if (!m_master || !m_master->isActive())
        return {};
    const int f = m_master->fieldIndex(m_masterField);
    if (f < 0)
        return {};
    return m_master->currentStored(f);
}

void Dataset::rebuildVisible()
{
    m_visible.clear();
    m_visibleByRowId.clear();
    invalidateIndexes();
    const bool useFilter = m_filtered && !m_filterExpr.isEmpty() && m_filterPredicate;
    if (m_master) {
        const QString &key = m_linkKey;
        if (key.isNull() || m_detailField < 0)
            return;
        if (!m_groupIndexValid) {
            m_groupIndex.clear();
            for (int i = 0; i < int(m_rows.size()); ++i)
                if (!m_rows[size_t(i)].deleted)
                    m_groupIndex[foldKey(storedAt(i, m_detailField))].append(i);
            m_groupIndexValid = true;
        }
        for (int i : m_groupIndex.value(key))
            if (!m_rows[size_t(i)].deleted && (!useFilter || m_filterPredicate(i)))
                m_visible.append(i);
        return;
    }
    m_visible.reserve(int(m_rows.size()));
    for (int i = 0; i < int(m_rows.size()); ++i)
        if (!m_rows[size_t(i)].deleted && (!useFilter || m_filterPredicate(i)))
            m_visible.append(i);
}

void Dataset::masterMoved()
{
    if (!isActive())
        return;
    if (m_state != State::Browse) {
        try {
            postPending();
        } catch (const DatasetError &) {
            return;  // keep the pending row where it is; the next action raises the error
        }
    }
    m_linkKey = foldKey(masterLinkValue());
    if (m_loaded) {
        rebuildVisible();
    } else {
        m_rows.clear();  // rows appended since open belong to the previous master row
        m_visible.clear();
        m_visibleByRowId.clear();
    }
    m_cur = m_visible.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_visible.isEmpty();
    Q_EMIT dataReset();
    Q_EMIT currentChanged();
}

void Dataset::setMaster(Dataset *master, const QString &masterField, const QString &detailField)
{
    if (m_master) {
        disconnect(m_master, nullptr, this, nullptr);
        m_master->m_details.removeAll(this);
    }
    m_master = master;
    m_masterField = masterField;
    m_detailFieldName = detailField;
    if (isActive())
        m_detailField = fieldIndex(detailField);
    if (master) {
        master->m_details.append(this);
        connect(master, &Dataset::currentChanged, this, &Dataset::masterMoved);
    }
}

// ---------------------------------------------------------------- moving

void Dataset::postPending()
{
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void Dataset::postDetails()
{
    for (const QPointer<Dataset> &d : std::as_const(m_details))
        if (d && d->isActive())
            d->prepareMove();
}

void Dataset::refuseFlush(const QString &message)
{
    if (m_flushing && m_flushRefusal.isEmpty())
        m_flushRefusal = message;
}

void Dataset::restoreAfterRollback()
{
    if (!isActive())
        return;
    const qint64 current = (m_cur >= 0 && m_cur < m_visible.size()) ? m_rows[size_t(m_visible.at(m_cur))].rowId : -1;
    m_groupIndexValid = false;
    invalidateIndexes();
    if (m_loaded) {
        loadRows();  // keeps the current row when it still exists
    } else {
        // Only rows appended since open were held, and the rollback took them back.
        m_rows.clear();
        m_visible.clear();
        m_visibleByRowId.clear();
        m_cur = -1;
        m_bof = m_eof = true;
    }
    if (m_state == State::Edit && (current < 0 || visibleRowOfRowId(current) < 0)) {
        m_buffer.clear();
        setState(State::Browse);
    }
    Q_EMIT dataReset();
    Q_EMIT currentChanged();
}

void Dataset::noteWrite()
{
    m_db->noteWrite(this, [this] { restoreAfterRollback(); });
}

void Dataset::prepareMove()
{
    postDetails();
    postPending();
}

void Dataset::moveTo(int visibleRow, bool bof, bool eof)
{
    const bool moved = visibleRow != m_cur;
    m_cur = visibleRow;
    m_bof = bof;
    m_eof = eof;
    if (moved)
        Q_EMIT currentChanged();
}

void Dataset::first()
{
    checkActive();
    prepareMove();
    ensureRows();
    moveTo(m_visible.isEmpty() ? -1 : 0, true, m_visible.isEmpty());
}

void Dataset::last()
{
    checkActive();
    prepareMove();
    ensureRows();
    moveTo(int(m_visible.size()) - 1, m_visible.isEmpty(), true);
}

void Dataset::next()
{
    checkActive();
    prepareMove();
    ensureRows();
    if (m_cur + 1 < m_visible.size())
        moveTo(m_cur + 1, false, false);
    else
        m_eof = true;
}

void Dataset::prior()
{
    checkActive();
    prepareMove();
    ensureRows();
    if (m_cur > 0)
        moveTo(m_cur - 1, false, false);
    else
        m_bof = true;
}

bool Dataset::isBof()
{
    ensureRows();
    return m_bof || m_visible.isEmpty();
}

bool Dataset::isEof()
{
    ensureRows();
    return m_eof || m_visible.isEmpty();
}

int Dataset::recordCount()
{
    ensureRows();
    return int(m_visible.size());
}

bool Dataset::isEmpty()
{
    return m_state != State::Insert && recordCount() == 0;
}

int Dataset::currentRow()
{
    ensureRows();
    return m_state == State::Insert ? -1 : m_cur;
}

void Dataset::setCurrentRow(int visibleRow)
{
    checkActive();
    ensureRows();
    if (visibleRow < 0 || visibleRow >= m_visible.size())
        raise(QStringLiteral("数据集 %1 没有第 %2 行").arg(name()).arg(visibleRow + 1));
    if (visibleRow == m_cur && m_state == State::Browse)
        return;
    prepareMove();
    ensureRows();
    moveTo(qMin(visibleRow, int(m_visible.size()) - 1), false, false);
}

bool Dataset::locate(const QString &fields, const QVariantList &values, Qt::CaseSensitivity cs)
{
    const QStringList names = fields.split(u';', Qt::SkipEmptyParts);
    return locate(fields, values, QList<Qt::CaseSensitivity>(names.size(), cs));
}

bool Dataset::locate(const QString &fields, const QVariantList &values, const QList<Qt::CaseSensitivity> &perField)
{
    checkActive();
    const QStringList names = fields.split(u';', Qt::SkipEmptyParts);
    if (names.size() != values.size() || names.size() != perField.size())
        raise(QStringLiteral("定位的字段数与值的个数不符：%1").arg(fields));
    QList<int> idx;
    QVariantList wanted;
    bool impossible = false;
    for (int i = 0; i < names.size(); ++i) {
        const int f = fieldIndex(names.at(i).trimmed());
        if (f < 0)
            raise(QStringLiteral("数据集 %1 中没有字段 %2").arg(name(), names.at(i)));
        idx << f;
        if (f >= m_dataFieldCount) {
            wanted << values.at(i);
            continue;
        }
        try {
            wanted << normalise(f, values.at(i));
        } catch (const DatasetError &) {
            impossible = true;  // e.g. longer than the field: nothing can match
            wanted << QVariant();
        }
    }
    prepareMove();
    ensureRows();
    if (impossible)
        return false;
    for (int r = 0; r < m_visible.size(); ++r) {
        const int row = m_visible.at(r);
        bool match = true;
        for (int i = 0; i < idx.size() && match; ++i) {
            const QVariant have = storedAt(row, idx.at(i));
            const QVariant &want = wanted.at(i);
            const bool haveNull = !have.isValid() || have.isNull();
            const bool wantNull = !want.isValid() || want.isNull();
            if (haveNull || wantNull)
                match = haveNull && wantNull;
            else if (have.typeId() == QMetaType::QString || want.typeId() == QMetaType::QString)
                match = have.toString().compare(want.toString(), perField.at(i)) == 0;
            else
                match = have.toDouble() == want.toDouble();
        }
        if (match) {
            moveTo(r, false, false);
            return true;
        }
    }
    return false;
}

bool Dataset::locateKey(const QString &keyField, const QVariant &key)
{
    checkActive();
    const int f = fieldIndex(keyField);
    if (f < 0 || f >= m_dataFieldCount)
        raise(QStringLiteral("数据集 %1 中没有字段 %2").arg(name(), keyField));
    prepareMove();
    ensureRows();
    if (key.isNull() || !key.isValid())
        return false;
    const int row = lookupRow(f, SqlValue::toStorage(key));
    if (row < 0)
        return false;
    const int visible = visibleRowOfRowId(m_rows[size_t(row)].rowId);
    if (visible < 0)
        return false;
    moveTo(visible, false, false);
    return true;
}

// ---------------------------------------------------------------- changing

void Dataset::append()
{
    checkActive();
    prepareMove();
    m_curBeforeInsert = m_cur;
    m_buffer = QVariantList(m_dataFieldCount);
    if (m_master && m_detailField >= 0)
        m_buffer[m_detailField] = masterLinkValue();
    setState(State::Insert);
    Q_EMIT currentChanged();
}

void Dataset::edit()
{
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (writeTable().isEmpty())
        raise(QStringLiteral("数据集 %1 是只读的，不能修改").arg(name()));
    ensureRows();
    if (m_cur < 0) {
        append();  // editing an empty dataset starts a new row
        return;
    }
    m_buffer = PackedRow::unpack(m_rows[size_t(m_visible.at(m_cur))].packed);
    setState(State::Edit);
}

void Dataset::post()
{
    checkActive();
    if (m_state == State::Browse)
        raise(QStringLiteral("数据集 %1 不在编辑状态，不能保存").arg(name()));
    // Bound controls write what they still hold; one they could not write fails the post.
    m_flushing = true;
    m_flushRefusal.clear();
    try {
        Q_EMIT updateRecord();
    } catch (...) {
        m_flushing = false;
        throw;
    }
    m_flushing = false;
    if (!m_flushRefusal.isEmpty()) {
        const QString refusal = m_flushRefusal;
        m_flushRefusal.clear();
        raise(refusal);
    }
    // A new master row moves the details to it: their pending rows are posted first, so a
    // refusal there leaves this row unposted instead of being lost after it.
    if (m_state == State::Insert)
        postDetails();
    if (m_beforePost && m_beforePost(*this) == BeforePost::CancelInsert && m_state == State::Insert) {
        cancel();
        return;
    }
    if (writeTable().isEmpty())
        raise(QStringLiteral("数据集 %1 是只读的，不能保存").arg(name()));
    try {
        if (m_state == State::Insert) {
            qint64 rowId = 0;
            writeInsert(m_buffer, rowId);
            for (int f = 0; f < m_dataFieldCount; ++f)
                if (m_fields.at(f).kind == FieldKind::AutoNumber)
                    m_buffer[f] = rowId;
            insertRowAtEnd(rowId, m_buffer);
            m_buffer.clear();
            m_bof = m_eof = false;
            setState(State::Browse);
            Q_EMIT rowInserted(m_cur);
            Q_EMIT currentChanged();
        } else {
            Row &row = m_rows[size_t(m_visible.at(m_cur))];
            const QVariantList before = PackedRow::unpack(row.packed);
            writeUpdate(row.rowId, before, m_buffer);
            if (m_detailField >= 0 && before.at(m_detailField) != m_buffer.at(m_detailField))
                m_groupIndexValid = false;
            row.packed = PackedRow::pack(m_buffer);
            m_buffer.clear();
            invalidateIndexes();
            setState(State::Browse);
            Q_EMIT rowUpdated(m_cur);
        }
    } catch (const DbError &e) {
        if (e.kind() == DbError::Kind::Duplicate)
            throw DatasetError(duplicateMessage(e), true);
        raise(e.message());
    }
}

QString Dataset::duplicateMessage(const DbError &e) const
{
    // Name the taken values the user typed, not only the columns the engine names.
    QStringList values;
    for (const QString &column : e.keyColumns()) {
        const int f = fieldIndex(column.section(u'.', -1));
        if (f < 0 || f >= m_buffer.size())
            return e.message();
        values << m_buffer.at(f).toString();
    }
    if (values.isEmpty())
        return e.message();
    return QStringLiteral("代码重复，不能保存：代码“%1”已经存在（%2）。")
        .arg(values.join(QStringLiteral("、")), e.keyColumns().join(QStringLiteral("、")));
}

void Dataset::insertRowAtEnd(qint64 rowId, const QVariantList &values)
{
    Row row;
    row.rowId = rowId;
    row.packed = PackedRow::pack(values);
    m_rows.push_back(std::move(row));
    const int index = int(m_rows.size()) - 1;
    if (m_groupIndexValid && m_detailField >= 0)
        m_groupIndex[foldKey(values.at(m_detailField))].append(index);
    // The new row shows even when it does not pass the filter or restriction, until the next re-filter.
    m_visible.append(index);
    if (!m_visibleByRowId.isEmpty())
        m_visibleByRowId.insert(rowId, int(m_visible.size()) - 1);
    m_cur = int(m_visible.size()) - 1;
    invalidateIndexes();
}

void Dataset::cancel()
{
    checkActive();
    if (m_state != State::Browse)
        postDetails();  // the details move with this row: a refusal there keeps it as it is
    if (m_state == State::Insert) {
        m_buffer.clear();
        setState(State::Browse);
        m_cur = qMin(m_curBeforeInsert, int(m_visible.size()) - 1);
        if (m_cur < 0 && !m_visible.isEmpty())
            m_cur = 0;
        Q_EMIT currentChanged();
    } else if (m_state == State::Edit) {
        m_buffer.clear();
        setState(State::Browse);
        Q_EMIT rowUpdated(m_cur);
        Q_EMIT currentChanged();
    }
}

void Dataset::remove()
{
    checkActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    postDetails();
    ensureRows();
    if (m_cur < 0)
        raise(QStringLiteral("数据集 %1 没有记录，不能删除").arg(name()));
    const QString table = writeTable();
    if (table.isEmpty())
        raise(QStringLiteral("数据集 %1 是只读的，不能删除").arg(name()));
    if (m_state == State::Edit) {
        m_buffer.clear();
        setState(State::Browse);
    }
    const qint64 rowId = m_rows[size_t(m_visible.at(m_cur))].rowId;
    try {
        // Only the row as it was read goes: never one another cursor changed, nor a reused rowid.
        const QVariantList read = PackedRow::unpack(m_rows[size_t(m_visible.at(m_cur))].packed);
        QString sql = QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(SqlDialect::quoteIdentifier(table));
        QVariantList binds{rowId};
        if (m_concurrencyCheck) {
            for (int f = 0; f < m_dataFieldCount; ++f) {
                if (m_fields.at(f).kind == FieldKind::AutoNumber)
                    continue;
                sql += QStringLiteral(" AND %1 IS ?").arg(SqlDialect::quoteIdentifier(m_fields.at(f).name));
                binds << read.at(f);
            }
        }
        Transaction tx(*m_db);
        Statement st(*m_db, sql);
        for (int i = 0; i < binds.size(); ++i)
            st.bind(i + 1, binds.at(i));
        if (st.execute() == 0)
            raise(conflictMessage());
        noteWrite();
        tx.commit();
    } catch (const DbError &e) {
        raise(e.message());
    }
    Row &row = m_rows[size_t(m_visible.at(m_cur))];
    row.deleted = true;
    const int removed = m_cur;
    m_visible.removeAt(removed);
    m_visibleByRowId.clear();
    invalidateIndexes();
    m_cur = qMin(removed, int(m_visible.size()) - 1);
    m_eof = m_visible.isEmpty();
    m_bof = m_visible.isEmpty();
    Q_EMIT rowRemoved(removed);
    Q_EMIT currentChanged();
}

void Dataset::writeInsert(QVariantList &values, qint64 &rowId)
{
    QStringList columns;
    QStringList marks;
    QVariantList binds;
    for (int f = 0; f < m_dataFieldCount; ++f) {
        const QVariant &v = values.at(f);
        if (m_fields.at(f).kind == FieldKind::AutoNumber || !v.isValid() || v.isNull())
            continue;
        columns << SqlDialect::quoteIdentifier(m_fields.at(f).name);
        marks << QStringLiteral("?");
        binds << v;
    }
    const QString table = SqlDialect::quoteIdentifier(writeTable());
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns.join(u", "), marks.join(u", "));
    Transaction tx(*m_db);
    Statement st(*m_db, sql);
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds.at(i));
    st.execute();
    rowId = m_db->lastInsertRowId();
    noteWrite();
    tx.commit();
}

QString Dataset::conflictMessage()
{
    return QStringLiteral("该记录已被修改或删除，请刷新后重试！");
}

QString Dataset::tooLongMessage(const QString &fieldName, int width, qsizetype length)
{
    return QStringLiteral("“%1”最多只能输入 %2 个字符，现在是 %3 个字符。").arg(fieldName).arg(width).arg(length);
}

void Dataset::writeUpdate(qint64 rowId, const QVariantList &before, const QVariantList &after)
{
    QStringList sets;
    QVariantList binds;
    QList<int> changed;
    for (int f = 0; f < m_dataFieldCount; ++f) {
        if (m_fields.at(f).kind == FieldKind::AutoNumber)
            continue;
        const QVariant &a = before.at(f);
        const QVariant &b = after.at(f);
        const bool same = (a.isNull() && b.isNull()) || (!a.isNull() && !b.isNull() && a == b);
        if (same)
            continue;
        sets << SqlDialect::quoteIdentifier(m_fields.at(f).name) + QStringLiteral(" = ?");
        binds << b;
        changed << f;
    }
    if (sets.isEmpty())
        return;
    // Each changed field is written only where it still holds what was read: a change
    // another cursor or program made meanwhile is never overwritten with a stale value.
    QString where = QStringLiteral("rowid = ?");
    binds << rowId;
    if (m_concurrencyCheck) {
        for (int f : std::as_const(changed)) {
            where += QStringLiteral(" AND %1 IS ?").arg(SqlDialect::quoteIdentifier(m_fields.at(f).name));
            binds << before.at(f);
        }
    }
    Transaction tx(*m_db);
    Statement st(*m_db, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(SqlDialect::quoteIdentifier(writeTable()), sets.join(u", "), where));
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds.at(i));
    if (st.execute() == 0)
        raise(conflictMessage());
    noteWrite();
    tx.commit();
}

// ---------------------------------------------------------------- fields

int Dataset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Field Dataset::field(const QString &fieldName)
{
    checkActive();
    const int i = fieldIndex(fieldName);
    if (i < 0)
        raise(QStringLiteral("数据集 %1 中没有字段 %2").arg(name(), fieldName));
    return Field(this, i);
}

Field Dataset::field(int index)
{
    checkActive();
    if (index < 0 || index >= m_fields.size())
        raise(QStringLiteral("数据集 %1 中没有第 %2 个字段").arg(name()).arg(index + 1));
    return Field(this, index);
}

QStringList Dataset::fieldNames() const
{
    QStringList out;
    for (const FieldDef &f : m_fields)
        out << f.name;
    return out;
}

void Dataset::addLookup(const QString &fieldName, const QString &keyField, Dataset *lookup, const QString &lookupKey,
                        const QString &resultField, int width)
{
    if (isActive())
        raise(QStringLiteral("数据集 %1 打开时不能增加查找字段").arg(name()));
    const bool alreadyWatched =
        std::any_of(m_lookups.cbegin(), m_lookups.cend(), [lookup](const LookupDef &l) { return l.source == lookup; });
    m_lookupDefs.append(FieldDef{fieldName, FieldKind::Lookup, width});
    LookupDef def;
    def.keyFieldName = keyField;
    def.source = lookup;
    def.sourceKey = lookupKey;
    def.sourceResult = resultField;
    m_lookups.append(def);
    // A change in the source can change what our lookup columns show.
    if (lookup && !alreadyWatched) {
        const auto notify = [this] { Q_EMIT lookupSourceChanged(); };
        connect(lookup, &Dataset::dataReset, this, [this, lookup] {
            for (LookupDef &l : m_lookups)
                if (l.source == lookup)
                    l.resolved = false;  // a reopened query may have other columns
            Q_EMIT lookupSourceChanged();
        });
        connect(lookup, &Dataset::rowInserted, this, notify);
        connect(lookup, &Dataset::rowUpdated, this, notify);
        connect(lookup, &Dataset::rowRemoved, this, notify);
    }
}

bool Dataset::resolveLookup(LookupDef &l)
{
    if (!l.source || !l.source->isActive())
        return false;
    if (!l.resolved) {
        l.sourceKeyIdx = l.source->fieldIndex(l.sourceKey);
        l.sourceResultIdx = l.source->fieldIndex(l.sourceResult);
        l.resolved = true;
    }
    return l.sourceKeyIdx >= 0 && l.sourceResultIdx >= 0;
}

int Dataset::lookupRow(int keyIdx, const QVariant &keyStored)
{
    const QString key = foldKey(keyStored);
    if (key.isNull())
        return -1;
    ensureRows();
    auto it = m_lookupIndexes.find(keyIdx);
    if (it == m_lookupIndexes.end()) {
        QHash<QString, int> index;
        index.reserve(m_visible.size());
        for (int row : std::as_const(m_visible)) {
            const QString k = foldKey(storedAt(row, keyIdx));
            if (!k.isNull() && !index.contains(k))
                index.insert(k, row);
        }
        it = m_lookupIndexes.insert(keyIdx, index);
    }
    return it->value(key, -1);
}

int Dataset::lookupRowRaw(int keyIdx, QUtf8StringView key)
{
    ensureRows();  // reading rows clears the caches: do it before holding a reference into them
    std::string raw(key.data(), size_t(key.size()));
    {
        const std::unordered_map<std::string, int> &hits = m_lookupRawHits[keyIdx];
        const auto hit = hits.find(raw);
        if (hit != hits.end())
            return hit->second;
    }
    const int row = lookupRow(keyIdx, QVariant(key.toString()));
    m_lookupRawHits[keyIdx].emplace(std::move(raw), row);
    return row;
}

QVariant Dataset::lookupStoredAt(int keyIdx, const QVariant &keyStored, int resultIdx)
{
    const int row = lookupRow(keyIdx, keyStored);
    return row < 0 ? QVariant() : storedAt(row, resultIdx);
}

void Dataset::invalidateIndexes()
{
    m_lookupIndexes.clear();
    m_lookupRawHits.clear();
}

QVariant Dataset::lookupOf(int field, const QVariant &keyStored)
{
    LookupDef &l = m_lookups[field - m_dataFieldCount];
    if (!resolveLookup(l))
        return {};
    return l.source->lookupStoredAt(l.sourceKeyIdx, keyStored, l.sourceResultIdx);
}

FieldKind Dataset::lookupResultKind(int field)
{
    LookupDef &l = m_lookups[field - m_dataFieldCount];
    if (!resolveLookup(l))
        return FieldKind::Text;
    const FieldKind k = l.source->m_fields.at(l.sourceResultIdx).kind;
    return k == FieldKind::Lookup ? l.source->lookupResultKind(l.sourceResultIdx) : k;
}

QVariant Dataset::lookupValue(const QString &keyField, const QVariant &key, const QString &resultField)
{
    if (!isActive())
        return {};
    const int keyIdx = fieldIndex(keyField);
    const int resIdx = fieldIndex(resultField);
    if (keyIdx < 0 || resIdx < 0)
        return {};
    const FieldKind kind = resIdx < m_dataFieldCount ? m_fields.at(resIdx).kind : lookupResultKind(resIdx);
    return typedValue(kind, lookupStoredAt(keyIdx, SqlValue::toStorage(key), resIdx));
}

QVariant Dataset::storedAt(int rowIndex, int field)
{
    if (field < m_dataFieldCount)
        return PackedRow::value(m_rows[size_t(rowIndex)].packed, field);
    const int keyField = m_lookups.at(field - m_dataFieldCount).keyField;
    const QUtf8StringView key = textView(rowIndex, keyField);
    if (!key.isNull()) {
        // Text keys (nearly all) go through the raw-bytes cache: no decoding or folding per cell.
        LookupDef &l = m_lookups[field - m_dataFieldCount];
        if (!resolveLookup(l))
            return {};
        const int row = l.source->lookupRowRaw(l.sourceKeyIdx, key);
        return row < 0 ? QVariant() : l.source->storedAt(row, l.sourceResultIdx);
    }
    return lookupOf(field, storedAt(rowIndex, keyField));
}

QUtf8StringView Dataset::textView(int rowIndex, int field) const
{
    return PackedRow::text(m_rows[size_t(rowIndex)].packed, field);
}

QVariant Dataset::currentStored(int field)
{
    if (m_state == State::Edit || m_state == State::Insert) {
        if (field < m_dataFieldCount)
            return m_buffer.at(field);
        return lookupOf(field, m_buffer.at(m_lookups.at(field - m_dataFieldCount).keyField));
    }
    if (!isActive())
        return {};
    ensureRows();
    if (m_cur < 0 || m_cur >= m_visible.size())
        return {};
    return storedAt(m_visible.at(m_cur), field);
}

QVariant Dataset::storedAsRead(int field)
{
    if (!isActive() || m_state == State::Insert)
        return {};
    ensureRows();
    if (m_cur < 0 || m_cur >= m_visible.size())
        return {};
    return storedAt(m_visible.at(m_cur), field);
}

void Dataset::checkWritable(int field) const
{
    checkActive();
    if (m_state == State::Browse)
        raise(QStringLiteral("数据集 %1 不在编辑状态，不能修改字段 %2").arg(name(), m_fields.at(field).name));
    if (field >= m_dataFieldCount || m_fields.at(field).kind == FieldKind::AutoNumber)
        raise(QStringLiteral("字段 %1 是只读的").arg(m_fields.at(field).name));
}

void Dataset::setCurrentStored(int field, const QVariant &stored)
{
    const QVariant &old = m_buffer.at(field);
    const bool same = (old.isNull() && stored.isNull()) || (!old.isNull() && !stored.isNull() && old == stored);
    if (same)
        return;
    m_buffer[field] = stored;
    Q_EMIT fieldChanged(field);
}

QVariant Dataset::normalise(int field, const QVariant &value) const
{
    const FieldDef &def = m_fields.at(field);
    if (!value.isValid() || value.isNull())
        return {};
    const bool isString = value.typeId() == QMetaType::QString;
    const QString text = isString ? value.toString() : QString();
    if (isString && text.isEmpty())
        return {};
    switch (def.kind) {
    case FieldKind::Text:
    case FieldKind::Memo: {
        const QString s = value.toString();
        if (def.kind == FieldKind::Text && def.width > 0 && codePoints(s) > def.width)
            raise(tooLongMessage(def.name, def.width, codePoints(s)));
        return s;
    }
    case FieldKind::Long:
    case FieldKind::AutoNumber: {
        bool ok = false;
        qint64 n = 0;
        if (isString) {
            n = text.trimmed().toLongLong(&ok);
        } else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
            const double d = value.toDouble();
            ok = d == double(qint64(d));
            n = qint64(d);
        } else {
            n = value.toLongLong(&ok);
        }
        if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
            raise(QStringLiteral("“%1”必须是整数：%2").arg(def.name, value.toString()));
        return n;
    }
    case FieldKind::Double: {
        bool ok = false;
        double d = 0;
        if (isString) {
            d = QLocale::system().toDouble(text.trimmed(), &ok);
            if (!ok)
                d = text.trimmed().toDouble(&ok);
        } else {
            d = value.toDouble(&ok);
        }
        if (!ok || !std::isfinite(d))
            raise(QStringLiteral("“%1”必须是数字：%2").arg(def.name, value.toString()));
        return d;
    }
    case FieldKind::Boolean:
        if (isString) {
            const QString t = text.trimmed().toLower();
            return (t == u"true" || t == u"1" || t == QStringLiteral("是")) ? 1 : 0;
        }
        return value.toBool() ? 1 : 0;
    case FieldKind::Date:
    case FieldKind::DateTime: {
        QDateTime dt;
        if (value.typeId() == QMetaType::QDate) {
            dt = QDateTime(value.toDate(), QTime(0, 0));
        } else if (value.typeId() == QMetaType::QDateTime) {
            dt = value.toDateTime();
        } else if (isString) {
            dt = SqlValue::dateTimeFromStorage(text.trimmed());
            if (!dt.isValid()) {
                const QDate d = DateText::parseShortDate(text);
                if (d.isValid())
                    dt = QDateTime(d, QTime(0, 0));
            }
        }
        if (!dt.isValid())
            raise(QStringLiteral("“%1”不是有效的日期：%2").arg(def.name, value.toString()));
        if (def.kind == FieldKind::Date)
            dt.setTime(QTime(0, 0));
        return SqlValue::dateTimeToStorage(dt);
    }
    default:
        return SqlValue::toStorage(value);
    }
}

QVariant Dataset::typedValue(FieldKind kind, const QVariant &stored)
{
    if (!stored.isValid() || stored.isNull())
        return {};
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
        return stored.toString();
    case FieldKind::Long:
    case FieldKind::AutoNumber:
        return stored.toLongLong();
    case FieldKind::Double:
        return stored.toDouble();
    case FieldKind::Boolean:
        return stored.toLongLong() != 0;
    case FieldKind::Date: {
        QDate d;
        QTime t;
        return SqlValue::splitStorage(stored.toString(), &d, &t) ? QVariant(d) : QVariant();
    }
    case FieldKind::DateTime: {
        const QDateTime dt = SqlValue::dateTimeFromStorage(stored.toString());
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    default:
        return stored;
    }
}

QString Dataset::displayText(FieldKind kind, const QVariant &stored)
{
    if (!stored.isValid() || stored.isNull())
        return {};
    switch (kind) {
    case FieldKind::Double:
        return shortest(stored.toDouble());
    case FieldKind::Boolean:
        return stored.toLongLong() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldKind::Date:
    case FieldKind::DateTime: {
        QDate d;
        QTime t;
        if (!SqlValue::splitStorage(stored.toString(), &d, &t))
            return stored.toString();
        return (kind == FieldKind::Date || t == QTime(0, 0)) ? DateText::shortDate(d)
                                                            : DateText::dateTime(QDateTime(d, t));
    }
    default:
        if (stored.typeId() == QMetaType::Double)
            return shortest(stored.toDouble());
        return stored.toString();
    }
}

QVariant Dataset::valueAt(int visibleRow, int field)
{
    ensureRows();
    if (visibleRow < 0 || visibleRow >= m_visible.size() || field < 0 || field >= m_fields.size())
        return {};
    const bool editing = visibleRow == m_cur && m_state == State::Edit;
    const QVariant stored = editing ? currentStored(field) : storedAt(m_visible.at(visibleRow), field);
    const FieldKind kind = field < m_dataFieldCount ? m_fields.at(field).kind : lookupResultKind(field);
    return typedValue(kind, stored);
}

QVariant Dataset::storedValueAt(int visibleRow, int field)
{
    ensureRows();
    if (visibleRow < 0 || visibleRow >= m_visible.size() || field < 0 || field >= m_fields.size())
        return {};
    const bool editing = visibleRow == m_cur && m_state == State::Edit;
    return editing ? currentStored(field) : storedAt(m_visible.at(visibleRow), field);
}

QString Dataset::textAt(int visibleRow, int field)
{
    ensureRows();
    if (visibleRow < 0 || visibleRow >= m_visible.size() || field < 0 || field >= m_fields.size())
        return {};
    const bool editing = visibleRow == m_cur && m_state == State::Edit;
    if (!editing && field < m_dataFieldCount) {
        const FieldKind k = m_fields.at(field).kind;
        if (k == FieldKind::Text || k == FieldKind::Memo) {
            const QUtf8StringView v = textView(m_visible.at(visibleRow), field);
            return v.isNull() ? QString() : v.toString();
        }
    }
    const QVariant stored = editing ? currentStored(field) : storedAt(m_visible.at(visibleRow), field);
    const FieldKind kind = field < m_dataFieldCount ? m_fields.at(field).kind : lookupResultKind(field);
    return displayText(kind, stored);
}

QUtf8StringView Dataset::storedTextAt(int visibleRow, int field)
{
    ensureRows();
    if (visibleRow < 0 || visibleRow >= m_visible.size() || field < 0 || field >= m_dataFieldCount)
        return {};
    if (visibleRow == m_cur && m_state == State::Edit)
        return {};
    const FieldKind k = m_fields.at(field).kind;
    if (k != FieldKind::Text && k != FieldKind::Memo)
        return {};
    return textView(m_visible.at(visibleRow), field);
}

qint64 Dataset::rowIdAt(int visibleRow)
{
    ensureRows();
    if (visibleRow < 0 || visibleRow >= m_visible.size())
        return -1;
    return m_rows[size_t(m_visible.at(visibleRow))].rowId;
}

int Dataset::visibleRowOfRowId(qint64 rowId)
{
    if (m_visibleByRowId.size() != m_visible.size()) {
        // Grids ask this for every current-row change: index once per change of the visible rows.
        m_visibleByRowId.clear();
        m_visibleByRowId.reserve(m_visible.size());
        for (int r = 0; r < m_visible.size(); ++r)
            m_visibleByRowId.insert(m_rows[size_t(m_visible.at(r))].rowId, r);
    }
    return m_visibleByRowId.value(rowId, -1);
}

// ---------------------------------------------------------------- filter

void Dataset::setFilter(const QString &text)
{
    const FilterExpression expr = FilterExpression::parse(text);  // a syntax error raises; nothing changes
    if (isActive() && m_filtered) {
        prepareMove();
        const FilterExpression old = m_filterExpr;
        const QString oldText = m_filterText;
        m_filterExpr = expr;
        m_filterText = text;
        try {
            m_filterPredicate = compileFilter();
        } catch (const DatasetError &) {
            m_filterExpr = old;
            m_filterText = oldText;
            throw;
        }
        refilter();
        return;
    }
    m_filterExpr = expr;
    m_filterText = text;
}

void Dataset::refilter()
{
    if (m_loaded)
        rebuildVisible();
    m_cur = (m_loaded && !m_visible.isEmpty()) ? 0 : -1;
    m_bof = true;
    m_eof = m_visible.isEmpty();
    Q_EMIT dataReset();
    Q_EMIT currentChanged();
}

void Dataset::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (isActive()) {
        prepareMove();
        if (on)
            m_filterPredicate = compileFilter();  // an unknown field raises; the flag stays as it was
        m_filtered = on;
        refilter();
        return;
    }
    m_filtered = on;
}

int Dataset::filterField(const QString &fieldName) const
{
    const int f = fieldIndex(fieldName);
    if (f < 0)
        raise(QStringLiteral("过滤条件中的字段 %1 在数据集 %2 中不存在").arg(fieldName, name()));
    return f;
}

Dataset::EqualTerm Dataset::classifyEqual(int f, const FilterExpression::Literal &lit)
{
    const QString &fieldName = m_fields.at(f).name;
    const FieldKind kind = f < m_dataFieldCount ? m_fields.at(f).kind : FieldKind::Lookup;
    const bool dataField = f < m_dataFieldCount;
    const bool numeric = kind == FieldKind::Long || kind == FieldKind::Double || kind == FieldKind::AutoNumber
        || kind == FieldKind::Boolean;
    EqualTerm term;
    term.field = f;
    const bool dateField = kind == FieldKind::Date || kind == FieldKind::DateTime;
    if (dateField || (!lit.quoted && !numeric)) {
        const QDate d = DateText::parseShortDate(lit.text);
        if (d.isValid()) {
            // A date equals a date-time holding that day at midnight.
            term.mode = dataField ? EqualTerm::Bytes : EqualTerm::Stored;
            term.text = SqlValue::dateToStorage(d);
            term.bytes = term.text.toUtf8();
            return term;
        }
        if (dateField)
            raise(QStringLiteral("过滤条件中的日期“%1”无法识别").arg(lit.text));
    }
    if (numeric) {
        bool ok = false;
        term.number = lit.text.toDouble(&ok);
        if (!ok)
            raise(QStringLiteral("过滤条件中字段 %1 的值“%2”不是数字").arg(fieldName, lit.text));
        term.mode = EqualTerm::Number;
        return term;
    }
    term.mode = (dataField && (kind == FieldKind::Text || kind == FieldKind::Memo)) ? EqualTerm::TextView : EqualTerm::StoredText;
    term.text = lit.text;
    return term;
}

FilterExpression::Predicate Dataset::equalPredicate(const EqualTerm &term)
{
    const int f = term.field;
    switch (term.mode) {
    case EqualTerm::Bytes: {
        const QByteArray bytes = term.bytes;
        return [this, f, bytes](int row) { return textView(row, f) == QUtf8StringView(bytes); };
    }
    case EqualTerm::Stored: {
        const QString stored = term.text;
        return [this, f, stored](int row) {
            const QVariant v = storedAt(row, f);
            return !v.isNull() && v.toString() == stored;
        };
    }
    case EqualTerm::Number: {
        const double number = term.number;
        return [this, f, number](int row) {
            const QVariant v = storedAt(row, f);
            return !v.isNull() && v.toDouble() == number;
        };
    }
    case EqualTerm::TextView: {
        const QString wanted = term.text;
        return [this, f, wanted](int row) {
            const QUtf8StringView v = textView(row, f);
            return !v.isNull() && QAnyStringView::compare(v, wanted, Qt::CaseInsensitive) == 0;
        };
    }
    case EqualTerm::StoredText:
        break;
    }
    const QString wanted = term.text;
    return [this, f, wanted](int row) {
        const QVariant v = storedAt(row, f);
        return !v.isNull() && v.toString().compare(wanted, Qt::CaseInsensitive) == 0;
    };
}

FilterExpression::Predicate Dataset::equalSetPredicate(const QString &fieldName, const QList<FilterExpression::Literal> &values)
{
    // The terms grouped by how they compare; a row matches when any group holds its value.
    struct Sets
    {
        QSet<QByteArray> bytes;
        QSet<QString> stored;
        std::unordered_set<double> numbers;
        QSet<QString> foldedView;
        QSet<QString> foldedStored;
    };
    auto sets = std::make_shared<Sets>();
    const int f = filterField(fieldName);
    for (const FilterExpression::Literal &lit : values) {
        const EqualTerm term = classifyEqual(f, lit);
        switch (term.mode) {
        case EqualTerm::Bytes: sets->bytes.insert(term.bytes); break;
        case EqualTerm::Stored: sets->stored.insert(term.text); break;
        case EqualTerm::Number: sets->numbers.insert(term.number); break;
        case EqualTerm::TextView: sets->foldedView.insert(term.text.toCaseFolded()); break;
        case EqualTerm::StoredText: sets->foldedStored.insert(term.text.toCaseFolded()); break;
        }
    }
    return [this, f, sets](int row) {
        if (!sets->bytes.isEmpty() || !sets->foldedView.isEmpty()) {
            const QUtf8StringView v = textView(row, f);
            if (!v.isNull()) {
                if (sets->bytes.contains(QByteArray::fromRawData(v.data(), v.size())))
                    return true;
                if (!sets->foldedView.isEmpty() && sets->foldedView.contains(v.toString().toCaseFolded()))
                    return true;
            }
        }
        if (sets->stored.isEmpty() && sets->numbers.empty() && sets->foldedStored.isEmpty())
            return false;
        const QVariant v = storedAt(row, f);
        if (v.isNull())
            return false;
        if (!sets->numbers.empty() && sets->numbers.count(v.toDouble()))
            return true;
        const QString text = v.toString();
        return sets->stored.contains(text) || sets->foldedStored.contains(text.toCaseFolded());
    };
}

FilterExpression::Predicate Dataset::compileFilter(bool chainsAsSets)
{
    const auto resolve = [this](const QString &fieldName, FilterExpression::Op op,
                                const FilterExpression::Literal &lit) -> FilterExpression::Predicate {
        if (op == FilterExpression::Op::Like) {
            const int f = filterField(fieldName);
            const QString pattern = lit.text;
            return [this, f, pattern](int row) {
                const QVariant v = storedAt(row, f);
                return !v.isNull() && FilterExpression::likeMatch(v.toString(), pattern);
            };
        }
        return equalPredicate(classifyEqual(filterField(fieldName), lit));
    };
    if (!chainsAsSets)
        return m_filterExpr.compile(resolve);
    return m_filterExpr.compile(resolve, [this](const QString &fieldName, const QList<FilterExpression::Literal> &values) {
        return equalSetPredicate(fieldName, values);
    });
}

QList<int> Dataset::rowsMatching(const QString &filterText, bool chainsAsSets)
{
    checkActive();
    ensureRows();
    const FilterExpression saved = m_filterExpr;
    m_filterExpr = FilterExpression::parse(filterText);
    FilterExpression::Predicate test;
    try {
        test = compileFilter(chainsAsSets);
    } catch (...) {
        m_filterExpr = saved;
        throw;
    }
    m_filterExpr = saved;
    QList<int> out;
    for (int i = 0; i < int(m_rows.size()); ++i)
        if (!m_rows[size_t(i)].deleted && test(i))
            out.append(i);
    return out;
}

Dataset::BeforePost Dataset::dropKeylessInsert(const QString &keyField)
{
    if (state() != State::Insert)
        return BeforePost::Proceed;
    try {
        return field(keyField).isNull() ? BeforePost::CancelInsert : BeforePost::Proceed;
    } catch (const DatasetError &) {
        return BeforePost::CancelInsert;
    }
}
