#pragma once

#include <QList>
#include <QString>

// The fixed table of right codes. The first digit is the group:
// 1 system settings, 2 code tables, 3 customer business, 4 analyses, 5 tools, 6 workers.
struct RightCode
{
    enum SubRight { Insert = 1, Modify = 2, Delete = 4, Query = 8, Print = 16 };

    QString code;
    QString name;          // as the rights window shows it
    int subRights = 0;     // the sub-right columns the code's windows test
    bool hidden = false;   // not shown in the rights window
};

namespace RightCodes {

const QList<RightCode> &all();
// nullptr for an unknown code.
const RightCode *find(const QString &code);

}  // namespace RightCodes
