#pragma once

#include "DbEdit.h"

// A text edit with an input mask such as "##:##:##" (a digit or a blank in each #).
// The stored text keeps the blanks of unfilled places; all blank stores null.
class DbMaskEdit : public DbEdit
{
    Q_OBJECT

public:
    explicit DbMaskEdit(const QString &mask = QStringLiteral("##:##:##"), QWidget *parent = nullptr);
    // The text with blanks kept, as stored.
    QString maskedText() const;

protected:
    void load() override;

private:
    QString m_literals;
};
