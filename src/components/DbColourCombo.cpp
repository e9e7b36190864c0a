#include "DbColourCombo.h"

#include "ColourValue.h"

#include <QSet>

DbColourCombo::DbColourCombo(QWidget *parent) : QComboBox(parent), m_link(new FieldLink(this))
{
    setIconSize(QSize(16, 12));
    connect(m_link, &FieldLink::refresh, this, &DbColourCombo::reload);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (m_loading)
            return;
        if (m_readOnly)
            reload();  // a pick in a read-only list changes nothing: show the stored value again
        else
            m_link->write(itemData(index));
    });
}

void DbColourCombo::setPalette(Dataset *palette, const QString &field)
{
    if (m_palette)
        disconnect(m_palette, nullptr, this, nullptr);
    m_palette = palette;
    m_paletteField = field;
    if (palette) {
        connect(palette, &Dataset::dataReset, this, &DbColourCombo::reload);
        connect(palette, &Dataset::stateChanged, this, &DbColourCombo::reload);
        connect(palette, &Dataset::rowInserted, this, &DbColourCombo::reload);
        connect(palette, &Dataset::rowRemoved, this, &DbColourCombo::reload);
        connect(palette, &Dataset::rowUpdated, this, &DbColourCombo::reload);
    }
    reload();
}

void DbColourCombo::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
}

QList<qint64> DbColourCombo::paletteValues() const
{
    QList<qint64> out;
    if (!m_palette || !m_palette->isActive())
        return out;
    const int field = m_palette->fieldIndex(m_paletteField);
    if (field < 0)
        return out;
    QSet<qint64> seen;
    const int rows = m_palette->recordCount();
    for (int r = 0; r < rows; ++r) {
        const QVariant v = m_palette->valueAt(r, field);
        if (!v.isValid() || v.isNull())
            continue;
        const qint64 n = v.toLongLong();
        if (!seen.contains(n)) {
            seen.insert(n);
            out << n;
        }
    }
    return out;
}

void DbColourCombo::reload()
{
    m_loading = true;
    clear();
    const QList<qint64> values = paletteValues();
    for (qint64 n : values)
        addItem(ColourValue::swatch(n), QString::number(n), n);
    const QVariant stored = m_link->value();
    int current = -1;
    if (stored.isValid() && !stored.isNull()) {
        const qint64 n = stored.toLongLong();
        current = findData(n);
        if (current < 0) {
            // A value given before its colour left the palette: still the code's colour.
            addItem(ColourValue::swatch(n), QString::number(n), n);
            current = count() - 1;
        }
    }
    setCurrentIndex(current);
    m_loading = false;
    setEnabled(m_link->isLinked());
}
