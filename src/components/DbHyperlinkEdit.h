#pragma once

#include "DbEdit.h"

// A text edit for a web or e-mail address with a button that opens it: e-mail
// addresses as "mailto:", others as web addresses (http:// added when missing).
class DbHyperlinkEdit : public DbEdit
{
    Q_OBJECT

public:
    explicit DbHyperlinkEdit(QWidget *parent = nullptr);
    // The address the button opens for the current text; empty when there is none.
    QString target() const;
    bool openTarget() const;
};
