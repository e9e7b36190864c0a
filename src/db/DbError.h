#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

// The one error type of the engine adapter; carries a message fit to show a user.
class DbError : public std::runtime_error
{
public:
    enum class Kind {
        Missing,        // the database file does not exist
        NotADatabase,   // wrong key, or not a database file at all
        ForeignFile,    // opens, but is not one of our databases
        Locked,         // another process holds the file
        Constraint,     // a NOT NULL or other check refused the row
        Duplicate,      // a unique key refused the row
        TooNew,         // made by a newer program version
        Usage,          // a programming error: unknown parameter, bad SQL
        Other
    };

    DbError(Kind kind, const QString &message, int engineCode = 0)
        : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message), m_engineCode(engineCode)
    {
    }

    Kind kind() const { return m_kind; }
    QString message() const { return m_message; }
    int engineCode() const { return m_engineCode; }
    // For a refused unique key: the key's columns as the engine names them ("tblCustomers.CustId").
    QStringList keyColumns() const { return m_keyColumns; }
    void setKeyColumns(const QStringList &columns) { m_keyColumns = columns; }

private:
    Kind m_kind;
    QString m_message;
    int m_engineCode;
    QStringList m_keyColumns;
};
