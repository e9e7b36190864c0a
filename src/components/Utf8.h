#pragma once

#include <QString>

// Text written in the source (UTF-8) as a QString: captions, field names, SQL.
// Include it from .cpp files only, so a unit with its own s() does not see two.
inline QString s(const char *text)
{
    return QString::fromUtf8(text);
}
