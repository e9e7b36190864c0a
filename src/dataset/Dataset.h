#pragma once

#include "DatasetError.h"
#include "Field.h"
#include "FilterExpression.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class DbError;

class Database;

// A cursor over rows it holds, with the classic states and moves of a data-aware
// desktop dataset. Rows are identified by the engine's rowid, never by a key column.
// Subclasses say where rows come from (a table or a query) and where writes go.
class Dataset : public QObject
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class BeforePost { Proceed, CancelInsert };
    using BeforePostHook = std::function<BeforePost(Dataset &)>;

    explicit Dataset(Database *db, const QString &name, QObject *parent = nullptr);
    ~Dataset() override;

    QString name() const { return objectName(); }
    Database *database() const { return m_db; }
    void setDatabase(Database *db);

    // --- open and close
    void open();
    // Posts a pending edit or insert first; if that fails it raises and stays open.
    void close();
    bool isActive() const { return m_state != State::Inactive; }
    // close + open keeping filter and SQL; the position goes back to the first row.
    void refresh();
    State state() const { return m_state; }

    // --- moving (each posts a pending edit or insert first)
    void first();
    void prior();
    void next();
    void last();
    bool isBof();
    bool isEof();
    int recordCount();
    bool isEmpty();
    // Position of the current row among the visible rows; -1 when there is none.
    int currentRow();
    void setCurrentRow(int visibleRow);

    // "UserID;RightID": exact match on each field (text case-insensitive where asked).
    bool locate(const QString &fields, const QVariantList &values, Qt::CaseSensitivity cs = Qt::CaseSensitive);
    bool locate(const QString &fields, const QVariantList &values, const QList<Qt::CaseSensitivity> &perField);
    // The first visible row whose text key equals `key` without regard to case, found
    // through the hash index lookups use (no scan per call); false leaves the row where it was.
    bool locateKey(const QString &keyField, const QVariant &key);

    // --- changing
    void append();
    void edit();
    void post();
    void cancel();
    void remove();
    void setBeforePost(BeforePostHook hook) { m_beforePost = std::move(hook); }
    // For a before-post hook: a new row whose key field is still empty is dropped, not
    // posted (a keyless row a move or refresh would store); anything else proceeds.
    BeforePost dropKeylessInsert(const QString &keyField);

    // A bound control could not write what it holds while a post gathered the values:
    // the post under way then fails with this message and the row stays in edit.
    void refuseFlush(const QString &message);
    bool isFlushing() const { return m_flushing; }

    // Updates and deletes go only where the row still holds what this cursor read
    // (on by default; benchmarks switch it off to measure what it costs).
    void setConcurrencyCheck(bool on) { m_concurrencyCheck = on; }
    static QString conflictMessage();
    static QString tooLongMessage(const QString &fieldName, int width, qsizetype length);

    // --- fields
    int fieldCount() const { return int(m_fields.size()); }
    const FieldDef &fieldDef(int index) const { return m_fields.at(index); }
    int fieldIndex(const QString &name) const;  // case-insensitive, -1 when absent
    Field field(const QString &name);
    Field field(int index);
    QStringList fieldNames() const;

    // Display-only column: shows `resultField` of the row of `lookup` whose `lookupKey`
    // equals this row's `keyField`; empty when none matches. Declare before open().
    void addLookup(const QString &name, const QString &keyField, Dataset *lookup, const QString &lookupKey,
                   const QString &resultField, int width = 20);

    // --- filter: text and flag are independent and survive close/open
    void setFilter(const QString &text);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

    // --- master-detail: only rows whose detailField equals the master's current masterField
    void setMaster(Dataset *master, const QString &masterField, const QString &detailField);
    Dataset *master() const { return m_master; }

    // --- reading visible rows without moving (grids, reports, lookups)
    QVariant valueAt(int visibleRow, int field);
    // The value as stored (dates as "yyyy-MM-dd HH:mm:ss" text): exports read it without
    // building a local date-time per cell.
    QVariant storedValueAt(int visibleRow, int field);
    QString textAt(int visibleRow, int field);
    // A stored text field's UTF-8 bytes as the rows hold them, valid until the rows change;
    // null for other fields and for the row being edited (ask textAt then). Exports write
    // them without a round trip through QString.
    QUtf8StringView storedTextAt(int visibleRow, int field);
    qint64 rowIdAt(int visibleRow);
    int visibleRowOfRowId(qint64 rowId);

    // Resolves `resultField` for the first visible row whose `keyField` matches `key`
    // (text without regard to case); null when none. Hash-indexed.
    QVariant lookupValue(const QString &keyField, const QVariant &key, const QString &resultField);

    // Indexes of the held rows a filter text accepts, without touching the dataset's own
    // filter; `chainsAsSets` false evaluates term by term (tests compare both ways).
    QList<int> rowsMatching(const QString &filterText, bool chainsAsSets = true);

    // Typed <-> stored conversions shared with Field.
    static QVariant typedValue(FieldKind kind, const QVariant &stored);
    static QString displayText(FieldKind kind, const QVariant &stored);

Q_SIGNALS:
    void stateChanged(Dataset::State state);
    void currentChanged();            // the current row moved (or was replaced)
    void dataReset();                 // rows re-read, filter or restriction changed: re-read everything
    void rowInserted(int visibleRow);
    void rowRemoved(int visibleRow);
    void rowUpdated(int visibleRow);
    void fieldChanged(int field);     // a value in the edit buffer changed
    void lookupSourceChanged();       // a lookup dataset changed: lookup columns may show other text
    void updateRecord();              // about to post: bound controls write what they still hold

protected:
    // Called by open(): fills the field list; for tables without reading rows.
    virtual QList<FieldDef> describe() = 0;
    // Reads every row: its rowid and its stored values in field order, packed (PackedRow).
    virtual void readRows(std::vector<qint64> &rowIds, std::vector<QByteArray> &rows) = 0;
    // The table writes go to; empty for a read-only dataset.
    virtual QString writeTable() const = 0;
    // Tables read lazily; queries read at open.
    virtual bool readsAtOpen() const { return true; }

    [[noreturn]] void raise(const QString &message) const;
    QString duplicateMessage(const DbError &e) const;
    void checkActive() const;

private:
    friend class Field;
    struct Row
    {
        qint64 rowId = 0;
        QByteArray packed;  // PackedRow
        bool deleted = false;
    };
    struct LookupDef
    {
        int keyField = -1;
        QPointer<Dataset> source;
        QString sourceKey;
        QString sourceResult;
        QString keyFieldName;
        // Resolved against the source's fields while it stays open.
        bool resolved = false;
        int sourceKeyIdx = -1;
        int sourceResultIdx = -1;
    };

    void ensureRows();
    void loadRows();
    void rebuildVisible();
    void refilter();  // the filter changed: visible rows again, position on the first
    // How one "name = value" term compares a row, decided once per term.
    struct EqualTerm
    {
        enum Mode { Bytes, Stored, Number, TextView, StoredText } mode = StoredText;
        int field = -1;
        QString text;
        QByteArray bytes;
        double number = 0;
    };
    int filterField(const QString &fieldName) const;  // raises for a name the dataset lacks
    EqualTerm classifyEqual(int field, const FilterExpression::Literal &lit);
    FilterExpression::Predicate equalPredicate(const EqualTerm &term);
    FilterExpression::Predicate equalSetPredicate(const QString &fieldName, const QList<FilterExpression::Literal> &values);
    FilterExpression::Predicate compileFilter(bool chainsAsSets = true);
    QVariant storedAt(int rowIndex, int field);  // stored form; lookups computed
    QUtf8StringView textView(int rowIndex, int field) const;  // data fields only; null unless text
    QVariant currentStored(int field);
    QVariant storedAsRead(int field);  // the current row as held, ignoring the edit buffer
    void setCurrentStored(int field, const QVariant &stored);
    QVariant normalise(int field, const QVariant &value) const;
    void postPending();
    void postDetails();  // posts the pending changes of every detail; a refusal raises
    void prepareMove();  // posts pending changes here and in every detail
    // After a rollback of a transaction this cursor wrote in: the rows as the file holds them.
    void restoreAfterRollback();
    void noteWrite();
    void moveTo(int visibleRow, bool bof, bool eof);
    void masterMoved();
    QVariant masterLinkValue() const;
    void invalidateIndexes();
    void insertRowAtEnd(qint64 rowId, const QVariantList &values);
    void writeInsert(QVariantList &values, qint64 &rowId);
    void writeUpdate(qint64 rowId, const QVariantList &before, const QVariantList &after);
    void setState(State state);
    QVariant lookupStoredAt(int keyIdx, const QVariant &keyStored, int resultIdx);
    int lookupRow(int keyIdx, const QVariant &keyStored);
    int lookupRowRaw(int keyIdx, QUtf8StringView key);
    QVariant lookupOf(int field, const QVariant &keyStored);
    bool resolveLookup(LookupDef &l);
    FieldKind lookupResultKind(int field);
    void checkWritable(int field) const;

    Database *m_db;
    State m_state = State::Inactive;
    QList<FieldDef> m_fields;
    int m_dataFieldCount = 0;
    QList<LookupDef> m_lookups;  // one per lookup field, in field order after the data fields
    QList<FieldDef> m_lookupDefs;

    std::vector<Row> m_rows;
    QList<int> m_visible;      // indexes into m_rows
    QHash<qint64, int> m_visibleByRowId;  // rowid -> visible position; built on demand, emptied when m_visible changes
    bool m_loaded = false;     // false: rows not read yet (only rows appended since open held)
    int m_cur = -1;            // index into m_visible
    bool m_bof = true;
    bool m_eof = true;
    QVariantList m_buffer;     // edit or insert buffer
    int m_curBeforeInsert = -1;

    QString m_filterText;
    FilterExpression m_filterExpr;
    bool m_filtered = false;
    FilterExpression::Predicate m_filterPredicate;

    QPointer<Dataset> m_master;
    QString m_masterField;
    QString m_detailFieldName;
    int m_detailField = -1;
    QString m_linkKey;  // the master's link value the rows are restricted to, taken at open and at each master move
    QList<QPointer<Dataset>> m_details;
    QHash<QString, QList<int>> m_groupIndex;  // folded link value -> row indexes
    bool m_groupIndexValid = false;

    QHash<int, QHash<QString, int>> m_lookupIndexes;  // key field -> folded key -> row index
    // key field -> key as stored (UTF-8) -> row index or -1: skips folding for keys seen before
    QHash<int, std::unordered_map<std::string, int>> m_lookupRawHits;
    BeforePostHook m_beforePost;
    bool m_flushing = false;
    QString m_flushRefusal;
    bool m_concurrencyCheck = true;
};
