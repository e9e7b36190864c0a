#include "DbLookupCombo.h"

#include "ErrorHandler.h"

DbLookupCombo::DbLookupCombo(QWidget *parent) : QComboBox(parent), m_link(new FieldLink(this))
{
    setEditable(false);
    connect(m_link, &FieldLink::refresh, this, &DbLookupCombo::load);
    connect(this, &QComboBox::activated, this, &DbLookupCombo::choose);
}

void DbLookupCombo::setList(DataSource *list, const QString &keyField, const QString &shownField)
{
    m_list = list;
    m_keyField = keyField;
    m_shownField = shownField;
    m_dirty = true;
    if (Dataset *d = list ? list->dataset() : nullptr) {
        const auto stale = [this] {
            m_dirty = true;
            load();
        };
        connect(d, &Dataset::dataReset, this, stale);
        connect(d, &Dataset::rowInserted, this, stale);
        connect(d, &Dataset::rowUpdated, this, stale);
        connect(d, &Dataset::rowRemoved, this, stale);
    }
    load();
}

void DbLookupCombo::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
}

void DbLookupCombo::fill()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    const bool wasLoading = m_loading;
    m_loading = true;
    clear();
    Dataset *d = m_list ? m_list->dataset() : nullptr;
    if (d && d->isActive()) {
        const int key = d->fieldIndex(m_keyField);
        const int shown = d->fieldIndex(m_shownField);
        if (key >= 0 && shown >= 0) {
            const int rows = d->recordCount();
            for (int r = 0; r < rows; ++r)
                addItem(d->textAt(r, shown), d->valueAt(r, key));
        }
    }
    m_loading = wasLoading;
}

void DbLookupCombo::showPopup()
{
    if (m_readOnly)
        return;
    fill();
    QComboBox::showPopup();
}

void DbLookupCombo::load()
{
    fill();
    m_loading = true;
    const QVariant key = m_link->value();
    int index = -1;
    if (key.isValid() && !key.isNull()) {
        for (int i = 0; i < count(); ++i) {
            if (itemData(i).toString().compare(key.toString(), Qt::CaseInsensitive) == 0) {
                index = i;
                break;
            }
        }
    }
    setCurrentIndex(index);
    m_loading = false;
    setEnabled(m_link->isLinked());
}

void DbLookupCombo::choose(int index)
{
    if (m_loading || m_readOnly || index < 0)
        return;
    const QVariant key = itemData(index);
    if (!m_link->write(key))
        return;
    if (Dataset *d = m_list ? m_list->dataset() : nullptr)
        ErrorHandler::run(this, [&] { d->locate(m_keyField, {key}, Qt::CaseInsensitive); });
}
