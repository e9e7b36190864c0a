#pragma once

#include <QMap>
#include <QString>

// The connection string the program hands its engine adapter, and its parser.
namespace ConnectionString {

// The fixed database password carried by the connection string.
QString databasePassword();

// The fifteen pieces, in order, around the database path.
QString build(const QString &databasePath);

// Properties by name (matched without regard to case); quoted values unquoted.
// A segment without "=" belongs to the value before it (a path may hold ";").
QMap<QString, QString> parse(const QString &text);

// The two properties the adapter uses; empty when absent.
QString dataSource(const QString &text);
QString password(const QString &text);

}  // namespace ConnectionString
