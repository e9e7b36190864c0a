#include "FieldLink.h"

#include "ErrorHandler.h"

#include <QWidget>

FieldLink::FieldLink(QWidget *widget) : QObject(widget), m_widget(widget) {}

Dataset *FieldLink::dataset() const
{
    return m_source ? m_source->dataset() : nullptr;
}

void FieldLink::bind(DataSource *source, const QString &field)
{
    m_source = source;
    m_field = field;
    connectDataset();
    Q_EMIT refresh();
}

void FieldLink::connectDataset()
{
    if (m_connected)
        disconnect(m_connected, nullptr, this, nullptr);
    m_connected = dataset();
    if (!m_connected)
        return;
    const auto again = [this] {
        if (!m_writing)
            Q_EMIT refresh();
    };
    connect(m_connected, &Dataset::currentChanged, this, again);
    connect(m_connected, &Dataset::dataReset, this, again);
    connect(m_connected, &Dataset::stateChanged, this, again);
    connect(m_connected, &Dataset::lookupSourceChanged, this, again);
    connect(m_connected, &Dataset::fieldChanged, this, [this, again](int index) {
        const int mine = fieldIndex();
        // A lookup column shows another field's consequence: any change may be its key's.
        if (index == mine || (mine >= 0 && dataset()->fieldDef(mine).kind == FieldKind::Lookup))
            again();
    });
    connect(m_connected, &Dataset::updateRecord, this, &FieldLink::flush);
}

int FieldLink::fieldIndex() const
{
    Dataset *d = dataset();
    return d && d->isActive() ? d->fieldIndex(m_field) : -1;
}

bool FieldLink::isLinked() const
{
    return fieldIndex() >= 0;
}

QVariant FieldLink::value() const
{
    if (!isLinked())
        return {};
    QVariant v;
    ErrorHandler::run(m_widget, [&] { v = dataset()->field(m_field).value(); });
    return v;
}

QString FieldLink::text() const
{
    if (!isLinked())
        return {};
    QString t;
    ErrorHandler::run(m_widget, [&] { t = dataset()->field(m_field).asString(); });
    return t;
}

int FieldLink::width() const
{
    const int i = fieldIndex();
    return i >= 0 ? dataset()->fieldDef(i).width : 0;
}

bool FieldLink::fieldIsReadOnly() const
{
    const int i = fieldIndex();
    if (i < 0)
        return true;
    const FieldKind k = dataset()->fieldDef(i).kind;
    return k == FieldKind::Lookup || k == FieldKind::AutoNumber;
}

bool FieldLink::write(const QVariant &value)
{
    if (!isLinked() || fieldIsReadOnly())
        return false;
    Dataset *d = dataset();
    if (d->isFlushing()) {
        // Gathering values for a post: a refused value fails that post, which reports it once.
        try {
            d->field(m_field).setValue(value);
            return true;
        } catch (...) {
            d->refuseFlush(ErrorHandler::messageOf(std::current_exception()));
            return false;
        }
    }
    m_writing = true;
    const bool ok = ErrorHandler::run(m_widget, [&] {
        if (d->state() == Dataset::State::Browse)
            d->edit();
        d->field(m_field).setValue(value);
    });
    m_writing = false;
    if (!ok)
        Q_EMIT refresh();  // show what the field really holds
    return ok;
}
