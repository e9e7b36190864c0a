#pragma once

#include "QueryDialog.h"

// The staff query: filters the staff list (tblOperaters) by one condition, a substring
// match on the stored text.
class TfrmOperaterQuery : public LikeQueryDialog
{
    Q_OBJECT

public:
    explicit TfrmOperaterQuery(QWidget *parent = nullptr);
    // Creates the dialog and shows it modally.
    static int execute(QWidget *parent);
    // The filter of a kind (not the "all" kind) for the trimmed text.
    static QString condition(int kind, const QString &text);
    // The warning for a kind whose text is empty.
    static QString emptyMessage(int kind);
};
