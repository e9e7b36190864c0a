#pragma once

#include "FieldLink.h"

#include <QCheckBox>

// A tick bound to a Boolean field; null shows unticked.
class DbCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit DbCheckBox(const QString &text = {}, QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field) { m_link->bind(source, field); }
    FieldLink *link() const { return m_link; }
    void setReadOnly(bool readOnly);

private:
    void load();
    FieldLink *m_link;
    bool m_readOnly = false;
};
