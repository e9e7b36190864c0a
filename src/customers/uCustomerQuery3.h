#pragma once

#include "QueryDialog.h"

// The customer query: filters the customer list (tblCustomers) by the days a customer
// was recorded on or by one condition, keeping the owner rule for a non-system user.
class TfrmCustomerQuery3 : public QueryDialog
{
    Q_OBJECT

public:
    explicit TfrmCustomerQuery3(QWidget *parent = nullptr);

    // Creates the dialog and shows it modally.
    static int execute(QWidget *parent);

    // The filter condition of a kind (not the "all" kind) for the trimmed text; the
    // text's quotes doubled.
    static QString condition(int kind, const QString &text);

private:
    bool run();
};
