#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// One e-mail as sent by the bulk-mail window: UTF-8 text, base64 parts, encoded
// subject and file names. Never stored.
class MailMessage
{
public:
    struct Attachment
    {
        QString fileName;  // shown name, without folder
        QByteArray data;
    };

    QString from;
    QString to;
    QString subject;
    QStringList body;  // text lines
    QStringList cc;
    QStringList bcc;   // receivers only: never written into the message

    // The message text as sent after DATA, before dot-stuffing; CRLF line ends.
    QByteArray toBytes(const QList<Attachment> &attachments, const QDateTime &date = QDateTime::currentDateTime()) const;

    // A subject as RFC 2047 encoded words of at most 75 characters, folded.
    static QByteArray encodeHeaderText(const QString &text);
    // Base64 in lines of 76 characters, each ended by CRLF.
    static QByteArray base64Lines(const QByteArray &data);
    // "Mon, 07 Dec 2026 09:05:00 +0800" whatever the locale.
    static QByteArray dateText(const QDateTime &date);
    // A line starting with "." gets another in front, and the text ends with CRLF.
    static QByteArray dotStuffed(const QByteArray &text);
};

namespace MailAddress {
// A single plain address: one "@" with text on both sides, printable ASCII without
// blanks, quotes, "<", ">", ",", ";". Anything else could smuggle a command.
bool isValid(const QString &address);
// A comma-separated list, each entry trimmed; empty entries dropped.
QStringList split(const QString &list);
}  // namespace MailAddress
