#include "MailMessage.h"

#include <QLocale>
#include <QTimeZone>
#include <QUrl>
#include <QUuid>

namespace {

QByteArray crlf()
{
    return QByteArrayLiteral("\r\n");
}

// Header text made safe: control characters (a stored line break) become blanks.
QString oneLine(QString text)
{
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    return text;
}

bool isPlainAscii(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return !text.contains(QStringLiteral("=?"));
}

QByteArray percentUtf8(const QString &name)
{
    return QUrl::toPercentEncoding(name);
}

}  // namespace

QByteArray MailMessage::encodeHeaderText(const QString &text)
{
    const QString clean = oneLine(text);
    if (isPlainAscii(clean))
        return clean.toLatin1();
    // 45 bytes give 60 base64 characters: with "=?UTF-8?B?" and "?=" each word stays under 75.
    QByteArray out;
    QByteArray chunk;
    const auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (int i = 0; i < clean.size(); ++i) {
        int n = clean.at(i).isHighSurrogate() && i + 1 < clean.size() ? 2 : 1;
        const QByteArray ch = clean.mid(i, n).toUtf8();
        if (chunk.size() + ch.size() > 45)
            flush();
        chunk += ch;
        i += n - 1;
    }
    flush();
    return out;
}

QByteArray MailMessage::base64Lines(const QByteArray &data)
{
    const QByteArray b64 = data.toBase64();
    QByteArray out;
    out.reserve(b64.size() + b64.size() / 76 * 2 + 2);
    for (qsizetype i = 0; i < b64.size(); i += 76)
        out += b64.mid(i, 76) + crlf();
    return out;
}

QByteArray MailMessage::dateText(const QDateTime &date)
{
    const QLocale c = QLocale::c();
    const int offset = date.offsetFromUtc() / 60;
    const int a = qAbs(offset);
    return (c.toString(date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")) + (offset < 0 ? u'-' : u'+')
            + QStringLiteral("%1%2").arg(a / 60, 2, 10, QLatin1Char('0')).arg(a % 60, 2, 10, QLatin1Char('0')))
        .toLatin1();
}

QByteArray MailMessage::dotStuffed(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size() + 16);
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && c == '.')
            out += '.';
        out += c;
        lineStart = c == '\n';
    }
    if (!out.endsWith("\r\n"))
        out += "\r\n";
    return out;
}

QByteArray MailMessage::toBytes(const QList<Attachment> &attachments, const QDateTime &date) const
{
    const QString domain = from.section(u'@', 1).isEmpty() ? QStringLiteral("localhost") : from.section(u'@', 1);
    QByteArray h;
    h += "From: <" + oneLine(from).toLatin1() + ">\r\n";
    h += "To: <" + oneLine(to).toLatin1() + ">\r\n";
    if (!cc.isEmpty()) {
        QStringList quoted;
        for (const QString &a : cc)
            quoted << u'<' + oneLine(a) + u'>';
        h += "Cc: " + quoted.join(QStringLiteral(",\r\n ")).toLatin1() + "\r\n";
    }
    h += "Subject: " + encodeHeaderText(subject) + "\r\n";
    h += "Date: " + dateText(date) + "\r\n";
    h += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@'
         + oneLine(domain).toLatin1() + ">\r\n";
    h += "MIME-Version: 1.0\r\n";
    const QByteArray text = body.join(QStringLiteral("\r\n")).toUtf8();
    const QByteArray textPart = "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n"
                                + base64Lines(text);
    if (attachments.isEmpty())
        return h + textPart;
    const QByteArray boundary = "=_part_" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
    h += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    h += "This is a multi-part message in MIME format.\r\n";
    h += "--" + boundary + "\r\n" + textPart;
    for (const Attachment &a : attachments) {
        const QByteArray name = percentUtf8(oneLine(a.fileName));
        h += "--" + boundary + "\r\n";
        h += "Content-Type: application/octet-stream\r\n";
        h += "Content-Transfer-Encoding: base64\r\n";
        h += "Content-Disposition: attachment; filename*=UTF-8''" + name + "\r\n\r\n";
        h += base64Lines(a.data);
    }
    h += "--" + boundary + "--\r\n";
    return h;
}

namespace MailAddress {

bool isValid(const QString &address)
{
    if (address.count(u'@') != 1)
        return false;
    const qsizetype at = address.indexOf(u'@');
    if (at == 0 || at == address.size() - 1)
        return false;
    for (QChar c : address) {
        const char16_t u = c.unicode();
        if (u <= 0x20 || u >= 0x7f || u == u'<' || u == u'>' || u == u',' || u == u';' || u == u'"' || u == u'\'')
            return false;
    }
    return true;
}

QStringList split(const QString &list)
{
    QStringList out;
    for (const QString &part : list.split(u','))
        if (!part.trimmed().isEmpty())
            out << part.trimmed();
    return out;
}

}  // namespace MailAddress
