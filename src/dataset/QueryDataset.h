#pragma once

#include "Dataset.h"

#include <QMap>

// Rows of an SQL text held as lines, with named parameters (":name", names matched
// without regard to case). A single-table "select * from t ..." is updatable like a
// table; anything else is read-only. exec() runs a statement that returns no rows.
class QueryDataset : public Dataset
{
    Q_OBJECT

public:
    QueryDataset(Database *db, const QString &name, const QStringList &sql = {}, QObject *parent = nullptr);

    // The SQL lines; a change takes effect at the next open.
    void clearSql() { m_sql.clear(); }
    void addSql(const QString &line) { m_sql << line; }
    void setSql(const QStringList &lines) { m_sql = lines; }
    QStringList sql() const { return m_sql; }
    QString sqlText() const { return m_sql.join(u'\n'); }

    // A parameter's value, kept across close and open.
    void setParam(const QString &name, const QVariant &value);
    QVariant param(const QString &name) const;
    void clearParams() { m_params.clear(); }

    // Runs the SQL as a statement (delete, ...) in its own transaction; returns rows changed.
    int exec();

    // The table an updatable query writes to; empty when read-only.
    QString baseTable() const { return m_baseTable; }

protected:
    QList<FieldDef> describe() override;
    void readRows(std::vector<qint64> &rowIds, std::vector<QByteArray> &rows) override;
    QString writeTable() const override { return m_baseTable; }

private:
    QString preparedText();
    void bindParams(class Statement &st) const;

    QStringList m_sql;
    QMap<QString, QVariant> m_params;  // lower-case name -> value
    QString m_baseTable;
    QString m_openedText;
};
