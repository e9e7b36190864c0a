#pragma once

#include "Statement.h"
#include "udmMain.h"

#include <QStringList>

// The system log's operation texts, oldest first, read straight from the database.
inline QStringList logEntries()
{
    QStringList out;
    Statement st(*dmMain->database(), QStringLiteral("select Operate from tblLog order by LogID"));
    while (st.step())
        out << st.text(0);
    return out;
}
