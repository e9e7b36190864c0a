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
    m_index.clear();
    Dataset *d = m_list ? m_list->dataset() : nullptr;
    if (d && d->isActive()) {
        const int key = d->fieldIndex(m_keyField);
        const int shown = d->fieldIndex(m_shownField);
        if (key >= 0 && shown >= 0) {
            const int rows = d->recordCount();
            QStringList texts;
            texts.reserve(rows);
            for (int r = 0; r < rows; ++r)
                texts << d->textAt(r, shown);
            addItems(texts);
            m_index.reserve(rows);
            for (int r = 0; r < rows; ++r) {
                const QVariant k = d->valueAt(r, key);
                setItemData(r, k);
                // The first entry of a key, as a scan would find it.
                if (!k.isNull()) {
                    const QString folded = k.toString().toCaseFolded();
                    if (!m_index.contains(folded))
                        m_index.insert(folded, r);
                }
            }
        }
    }
    m_loading = wasLoading;
}

void DbLookupCombo::showPopup()
{
    if (m_readOnly)
        return;
    ensureFilled();
    QComboBox::showPopup();
}

void DbLookupCombo::keyPressEvent(QKeyEvent *event)
{
    if (!m_readOnly)
        ensureFilled();
    QComboBox::keyPressEvent(event);
}

void DbLookupCombo::wheelEvent(QWheelEvent *event)
{
    if (!m_readOnly)
        ensureFilled();
    QComboBox::wheelEvent(event);
}

void DbLookupCombo::ensureFilled()
{
    if (!m_dirty)
        return;
    fill();
    m_loading = true;
    select(m_link->value());
    m_loading = false;
}

void DbLookupCombo::select(const QVariant &key)
{
    const bool known = key.isValid() && !key.isNull();
    setCurrentIndex(known ? m_index.value(key.toString().toCaseFolded(), -1) : -1);
}

void DbLookupCombo::load()
{
    Dataset *d = m_list ? m_list->dataset() : nullptr;
    if (m_dirty && d && d->isActive() && d->recordCount() <= EagerRows)
        fill();
    m_loading = true;
    const QVariant key = m_link->value();
    if (!m_dirty) {
        select(key);
    } else {
        // A long list: only the current entry, found through the list's key index.
        clear();
        m_index.clear();
        QVariant shown;
        if (d && d->isActive() && key.isValid() && !key.isNull())
            shown = d->lookupValue(m_keyField, key, m_shownField);
        if (!shown.isNull()) {
            addItem(shown.toString(), key);
            setCurrentIndex(0);
        } else {
            setCurrentIndex(-1);
        }
    }
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
