#pragma once

#include "QueryDialog.h"

#include <QList>

class QueryDataset;

// The contact query dialogs ("联系人查询"): a kind and a text rewrite the SQL of a shared
// contact query and reopen it. The typed text is bound as the pattern "%text%" (blanks
// kept, % and _ as wildcards), never spliced into the statement, which stays a
// single-table "select *" so the rows stay editable.
class ContactQueryDialog : public QueryDialog
{
    Q_OBJECT

public:
    // A kind's caption and the column its pattern tests; the first kind lists every contact.
    struct Kind
    {
        const char *caption;
        const char *column;
    };
    struct Setup
    {
        QString objectName;
        QList<Kind> kinds;
        QueryDataset *query = nullptr;
        // true: the owner rule of the current user (a non-system user gets his own contacts)
        // and a missing text leaves the query as it was; false: no owner rule, and the
        // query is closed before the text is tested.
        bool ownerRule = false;
    };

    ContactQueryDialog(const Setup &setup, QWidget *parent = nullptr);

    // The statement for a kind's column (empty: every contact), with the owner line when asked.
    static QStringList sqlLines(const QString &column, bool ownerLine);

private:
    bool run();

    Setup m_setup;
};
