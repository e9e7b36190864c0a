#pragma once

#include "FieldLink.h"

#include <QComboBox>
#include <QPointer>

// A drop-down list of colour values bound to a Long field: the values are those of a
// palette dataset's field, each shown as its number with a swatch. The list follows the
// palette as rows come and go; a stored value the palette no longer holds stays shown.
class DbColourCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit DbColourCombo(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field) { m_link->bind(source, field); }
    FieldLink *link() const { return m_link; }
    void setPalette(Dataset *palette, const QString &field);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    // The value shown, as text; empty when none.
    QString text() const { return currentText(); }
    // The palette's values in its order, each once.
    QList<qint64> paletteValues() const;

private:
    void reload();
    FieldLink *m_link;
    QPointer<Dataset> m_palette;
    QString m_paletteField;
    bool m_loading = false;
    bool m_readOnly = false;
};
