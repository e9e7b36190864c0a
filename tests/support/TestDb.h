#pragma once

#include "Database.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fresh temporary AppDir (path ends with "/") holding Data/QLM30.qdb made by
// the same code as the database tool.
class TestAppDir
{
public:
    explicit TestAppDir(bool withDatabase = true);

    bool isValid() const { return m_dir.isValid(); }
    QString appDir() const { return m_dir.path() + u'/'; }
    QString databasePath() const;
    QString file(const QString &relative) const { return appDir() + relative; }

    std::unique_ptr<Database> open() const;
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};
