#pragma once

#include <QString>
#include <stdexcept>

// The one exception the dataset layer raises; its message is fit to show the user as it is.
class DatasetError : public std::runtime_error
{
public:
    explicit DatasetError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};
