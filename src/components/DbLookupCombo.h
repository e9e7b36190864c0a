#pragma once

#include "FieldLink.h"

#include <QComboBox>
#include <QHash>
#include <QPointer>

// A drop-down bound to a code field that lists another dataset's rows by a shown
// field (a name) and stores the key field (the code). Choosing an entry moves the
// list dataset's cursor to that row. text() is what the required-field checks read.
class DbLookupCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit DbLookupCombo(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field) { m_link->bind(source, field); }
    void setList(DataSource *list, const QString &keyField, const QString &shownField);
    FieldLink *link() const { return m_link; }
    QString text() const { return currentText(); }
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    // Lists up to this many rows are filled at once; longer ones show only the current
    // entry until the user opens the list or steps through it.
    static constexpr int EagerRows = 2000;

protected:
    void showPopup() override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void fill();
    void load();
    void choose(int index);
    // The full list, with the current key selected.
    void ensureFilled();
    void select(const QVariant &key);

    FieldLink *m_link;
    QPointer<DataSource> m_list;
    QString m_keyField;
    QString m_shownField;
    bool m_loading = false;
    bool m_dirty = true;
    bool m_readOnly = false;
    QHash<QString, int> m_index;  // folded key -> first entry, while the full list is shown
};
