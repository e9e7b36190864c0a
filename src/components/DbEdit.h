#pragma once

#include "FieldLink.h"

#include <QLineEdit>

// A one-line text edit bound to a field; accepts at most the field's width.
class DbEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit DbEdit(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field) { m_link->bind(source, field); }
    FieldLink *link() const { return m_link; }

protected:
    virtual void load();
    FieldLink *m_link;
};
