#pragma once

#include "QueryDialog.h"

// The sending-unit list's query: one column matched anywhere by the typed text, or every unit.
class TfrmShusongQuery : public QueryDialog
{
    Q_OBJECT

public:
    explicit TfrmShusongQuery(QWidget *parent = nullptr);

    // Creates the dialog and shows it modally.
    static int execute(QWidget *parent);

    // The filter of a kind (1..9) and a trimmed text: the text's quotes doubled, so it
    // stays one value; % and _ keep their pattern meaning.
    static QString condition(int kind, const QString &text);

private:
    bool run();
};
