#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

class Dataset;

enum class FieldKind { Text, Memo, Long, Double, Boolean, Date, DateTime, AutoNumber, Variant, Lookup };

struct FieldDef
{
    QString name;
    FieldKind kind = FieldKind::Variant;
    int width = 0;  // characters a Text field accepts; display width of a lookup
};

// A handle on one column of a dataset's current row (or edit buffer).
// Values come typed: text QString, Long and AutoNumber qint64, Double double,
// Boolean bool, Date QDate, DateTime QDateTime; null is an invalid QVariant.
class Field
{
public:
    Field(Dataset *dataset, int index) : m_dataset(dataset), m_index(index) {}

    QString name() const;
    FieldKind kind() const;
    int width() const;
    int index() const { return m_index; }
    bool isLookup() const { return kind() == FieldKind::Lookup; }
    bool isReadOnly() const;

    QVariant value() const;
    // The value as the row was read, whatever an edit under way holds; null on a new row.
    // Checks that must use the code as stored (delete checks, code changes) read this.
    QVariant oldValue() const;
    bool isNull() const;
    // Display text: dates in the short date format, numbers in shortest form, empty for null.
    QString asString() const;
    qint64 asInteger() const;
    double asFloat() const;
    bool asBoolean() const;  // null counts as false
    QDate asDate() const;
    QDateTime asDateTime() const;

    // Refuses (DatasetError) a closed dataset, browse state, a read-only field,
    // overlong text, and values the field's type cannot hold.
    void setValue(const QVariant &value);
    void setAsString(const QString &text);
    void clear();

private:
    Dataset *m_dataset;
    int m_index;
};
