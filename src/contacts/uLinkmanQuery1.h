#pragma once

#include "ContactQuery.h"

// The contact list's query: rewrites qryLinkmans1 under the owner rule (a non-system
// user finds only his own contacts).
class TfrmLinkmanQuery1 : public ContactQueryDialog
{
    Q_OBJECT

public:
    explicit TfrmLinkmanQuery1(QWidget *parent = nullptr);

    // Creates the dialog and shows it modally.
    static int execute(QWidget *parent);
};
