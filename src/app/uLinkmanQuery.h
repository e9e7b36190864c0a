#pragma once

#include "ContactQuery.h"

// The contact query of the bulk-mail and envelope windows: rewrites qryLinkmans3, every
// user's contacts (no owner rule).
class TfrmLinkmanQuery : public ContactQueryDialog
{
    Q_OBJECT

public:
    explicit TfrmLinkmanQuery(QWidget *parent = nullptr);

    // Creates the dialog and shows it modally.
    static int execute(QWidget *parent);
};
