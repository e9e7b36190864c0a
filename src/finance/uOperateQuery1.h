#pragma once

#include "QueryDialog.h"

// The business-record query: sets the filter of tblOperates2, which both tabs of the
// business-record window show, to a range of creation days or one field against the
// typed text. A non-system user's filters also require his own rows.
class TfrmOperateQuery1 : public QueryDialog
{
    Q_OBJECT

public:
    explicit TfrmOperateQuery1(QWidget *parent = nullptr);

    // Creates the dialog and shows it modally.
    static int execute(QWidget *parent);

    // The filter of a kind (1 … 5) and trimmed text, for a system user or another one.
    static QString condition(int kind, const QString &text, bool systemUser, const QString &user);

private:
    bool run();
};
