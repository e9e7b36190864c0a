#pragma once

#include "Statement.h"

#include <QStringList>
#include <QVariantList>

class Database;

// A prepared INSERT into one table for a fixed list of columns, reused row after row
// (seed rows, demo data, bulk loads). Identifiers are quoted.
class TableInserter
{
public:
    TableInserter(Database &db, const QString &table, const QStringList &columns);
    // Values in the order of the columns; returns the new row's rowid.
    qint64 insert(const QVariantList &values);

private:
    Database &m_db;
    int m_columnCount;
    Statement m_statement;
};
