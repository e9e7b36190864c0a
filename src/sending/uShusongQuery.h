#pragma once

#include "QueryDialog.h"

// The sending-unit list's query: one column matched anywhere by the typed text, or every
// unit. Filtering is on after a choice, also when the data layer refused the text.
class TfrmShusongQuery : public LikeQueryDialog
{
    Q_OBJECT

public:
    explicit TfrmShusongQuery(QWidget *parent = nullptr);
    // Creates the dialog and shows it modally.
    static int execute(QWidget *parent);
    // The filter of a kind (not the "all" kind) for the trimmed text.
    static QString condition(int kind, const QString &text);
    // The warning for a kind whose text is empty.
    static QString emptyMessage(int kind);
};
