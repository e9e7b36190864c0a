#pragma once

#include <QString>

// The one place where SQL written for the original engine is mapped onto ours.
namespace SqlDialect {

// "delete * from t" -> "delete from t"; text inside quotes is left alone.
QString toEngine(const QString &sql);

// "name" with embedded quotes doubled: generated DML quotes every identifier
// (columns such as Insert, Delete, Query are keywords).
QString quoteIdentifier(const QString &name);

}  // namespace SqlDialect
