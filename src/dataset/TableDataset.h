#pragma once

#include "Dataset.h"
#include "Schema.h"

// The field kind a schema column type reads as.
FieldKind fieldKindOf(ColumnType type);

// All rows of one table, in table order or ordered by one column. Opening reads
// nothing; rows are read when first needed.
class TableDataset : public Dataset
{
    Q_OBJECT

public:
    TableDataset(Database *db, const QString &name, const QString &table, const QString &orderBy = {},
                 QObject *parent = nullptr);

    QString tableName() const { return m_table; }

protected:
    QList<FieldDef> describe() override;
    void readRows(std::vector<qint64> &rowIds, std::vector<QByteArray> &rows) override;
    QString writeTable() const override { return m_table; }
    bool readsAtOpen() const override { return false; }

private:
    QString m_table;
    QString m_orderBy;
};
