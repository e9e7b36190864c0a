#include "Field.h"

#include "Dataset.h"

QString Field::name() const { return m_dataset->m_fields.at(m_index).name; }
FieldKind Field::kind() const { return m_dataset->m_fields.at(m_index).kind; }
int Field::width() const { return m_dataset->m_fields.at(m_index).width; }
bool Field::isReadOnly() const
{
    return m_index >= m_dataset->m_dataFieldCount || kind() == FieldKind::AutoNumber;
}

QVariant Field::value() const
{
    m_dataset->checkActive();
    const FieldKind k = m_index < m_dataset->m_dataFieldCount ? kind() : m_dataset->lookupResultKind(m_index);
    return Dataset::typedValue(k, m_dataset->currentStored(m_index));
}

QVariant Field::oldValue() const
{
    m_dataset->checkActive();
    const FieldKind k = m_index < m_dataset->m_dataFieldCount ? kind() : m_dataset->lookupResultKind(m_index);
    return Dataset::typedValue(k, m_dataset->storedAsRead(m_index));
}

bool Field::isNull() const
{
    m_dataset->checkActive();
    const QVariant v = m_dataset->currentStored(m_index);
    return !v.isValid() || v.isNull();
}

QString Field::asString() const
{
    m_dataset->checkActive();
    const FieldKind k = m_index < m_dataset->m_dataFieldCount ? kind() : m_dataset->lookupResultKind(m_index);
    return Dataset::displayText(k, m_dataset->currentStored(m_index));
}

qint64 Field::asInteger() const { return value().toLongLong(); }
double Field::asFloat() const { return value().toDouble(); }
bool Field::asBoolean() const { return value().toBool(); }
QDate Field::asDate() const
{
    const QVariant v = value();
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}
QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    return v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : v.toDateTime();
}

void Field::setValue(const QVariant &value)
{
    m_dataset->checkWritable(m_index);
    m_dataset->setCurrentStored(m_index, m_dataset->normalise(m_index, value));
}

void Field::setAsString(const QString &text)
{
    setValue(QVariant(text));
}

void Field::clear()
{
    setValue(QVariant());
}
