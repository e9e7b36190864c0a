#pragma once

#include "FieldLink.h"

#include <QPlainTextEdit>

// A multi-line text edit bound to a field.
class DbMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DbMemo(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field) { m_link->bind(source, field); }
    FieldLink *link() const { return m_link; }

private:
    void load();
    FieldLink *m_link;
    bool m_loading = false;
    bool m_toldTooLong = false;
};
