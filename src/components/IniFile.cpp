#include "IniFile.h"

#include "DbError.h"
#include "FileSteps.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#ifdef Q_OS_UNIX
#include <langinfo.h>
#endif

QByteArray IniFile::localeEncoding()
{
#ifdef Q_OS_UNIX
    const QByteArray name = nl_langinfo(CODESET);
    if (!name.isEmpty() && name != "ANSI_X3.4-1968" && QStringEncoder(name.constData()).isValid())
        return name;
#endif
    return QByteArrayLiteral("UTF-8");
}

IniFile::IniFile(const QString &path, const QByteArray &encoding) : m_path(path), m_encoding(encoding)
{
    if (!QStringEncoder(m_encoding.constData()).isValid())
        m_encoding = QByteArrayLiteral("UTF-8");
    m_sections.append(Section{});
    m_index.insert(QString(), 0);
}

QString IniFile::keyOf(const QString &line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#') || t.startsWith(u'['))
        return {};
    const qsizetype eq = t.indexOf(u'=');
    return eq <= 0 ? QString() : t.left(eq).trimmed().toCaseFolded();
}

void IniFile::load()
{
    m_sections = {Section{}};
    m_index = {{QString(), 0}};
    QFile in(m_path);
    if (!in.exists())
        return;
    if (!in.open(QIODevice::ReadOnly))
        throw DbError(DbError::Kind::Other,
                      QStringLiteral("无法读取 %1：%2").arg(QDir::toNativeSeparators(m_path), in.errorString()));
    const QByteArray bytes = in.readAll();
    QStringDecoder decode(m_encoding.constData());
    const QString text = decode(bytes);
    m_lineEnd = text.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    Section *current = &m_sections[0];
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString t = line.trimmed();
        if (t.startsWith(u'[') && t.endsWith(u']')) {
            const QString name = t.mid(1, t.size() - 2).trimmed();
            current = &section(name);
            continue;
        }
        const QString key = keyOf(line);
        if (!key.isEmpty())
            current->keys.insert(key, int(current->lines.size()));
        current->lines << line;
    }
}

IniFile::Section &IniFile::section(const QString &name)
{
    const QString folded = name.toCaseFolded();
    const auto it = m_index.constFind(folded);
    if (it != m_index.constEnd())
        return m_sections[*it];
    m_index.insert(folded, int(m_sections.size()));
    m_sections.append(Section{name, {}, {}});
    return m_sections.last();
}

QString IniFile::value(const QString &sectionName, const QString &key) const
{
    const auto s = m_index.constFind(sectionName.toCaseFolded());
    if (s == m_index.constEnd())
        return {};
    const Section &sec = m_sections.at(*s);
    const auto k = sec.keys.constFind(key.trimmed().toCaseFolded());
    if (k == sec.keys.constEnd())
        return {};
    const QString &line = sec.lines.at(*k);
    return line.mid(line.indexOf(u'=') + 1);
}

void IniFile::setValue(const QString &sectionName, const QString &key, const QString &value)
{
    Section &sec = section(sectionName);
    const QString folded = key.trimmed().toCaseFolded();
    QString v = value;
    v.replace(u'\r', u' ').replace(u'\n', u' ');  // one entry, one line
    const QString line = key.trimmed() + u'=' + v;
    const auto k = sec.keys.constFind(folded);
    if (k != sec.keys.constEnd()) {
        sec.lines[*k] = line;
        return;
    }
    // After the section's last non-blank line, so a blank line before the next section stays.
    int at = int(sec.lines.size());
    while (at > 0 && sec.lines.at(at - 1).trimmed().isEmpty())
        --at;
    if (at == sec.lines.size()) {
        sec.keys.insert(folded, at);
        sec.lines << line;
        return;
    }
    sec.lines.insert(at, line);
    for (auto it = sec.keys.begin(); it != sec.keys.end(); ++it)
        if (*it >= at)
            ++*it;
    sec.keys.insert(folded, at);
}

void IniFile::save() const
{
    QString text;
    for (const Section &sec : m_sections) {
        if (!sec.name.isEmpty() || &sec != &m_sections.first())
            text += u'[' + sec.name + u']' + m_lineEnd;
        for (const QString &line : sec.lines)
            text += line + m_lineEnd;
    }
    QStringEncoder encode(m_encoding.constData(), QStringConverter::Flag::Default);
    const QByteArray bytes = encode(text);
    const QString temporary = FileSteps::temporaryBeside(m_path);
    try {
        FileSteps::write(temporary, bytes);
        FileSteps::rename(temporary, m_path);
    } catch (...) {
        try {
            FileSteps::remove(temporary);
        } catch (const DbError &) {
            // The first reason is the one to show.
        }
        throw;
    }
}
