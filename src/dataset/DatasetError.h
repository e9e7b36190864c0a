#pragma once

#include <QString>
#include <stdexcept>

// The one exception the dataset layer raises; its message is fit to show the user as it is.
class DatasetError : public std::runtime_error
{
public:
    explicit DatasetError(const QString &message, bool duplicate = false)
        : std::runtime_error(message.toStdString()), m_message(message), m_duplicate(duplicate)
    {
    }
    QString message() const { return m_message; }
    // True when a unique key refused the row (a code already taken).
    bool isDuplicate() const { return m_duplicate; }

private:
    QString m_message;
    bool m_duplicate = false;
};
