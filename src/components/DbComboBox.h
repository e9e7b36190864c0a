#pragma once

#include "FieldLink.h"

#include <QComboBox>

// A drop-down of fixed texts bound to a text field ("收款"/"付款", "男"/"女", ...).
// Editable ones also take typed text.
class DbComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DbComboBox(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field) { m_link->bind(source, field); }
    FieldLink *link() const { return m_link; }
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    // The text the required-field checks read.
    QString text() const { return currentText(); }

private:
    void load();
    FieldLink *m_link;
    bool m_loading = false;
    bool m_readOnly = false;
};
