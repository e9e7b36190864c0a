#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A small INI-file updater: keys present are overwritten, everything else in the file
// (other sections, keys, comments, blank lines) stays as it was. Text is read and
// written in one named encoding; saving writes a new file beside the old one and
// renames it into place, so a failed write leaves the old file.
class IniFile
{
public:
    // The encoding of the user's locale (GBK where the locale uses it); "UTF-8" when the
    // system names none that can be converted.
    static QByteArray localeEncoding();

    explicit IniFile(const QString &path, const QByteArray &encoding = localeEncoding());

    // Reads the file; a missing file is an empty one. Raises DbError when it cannot be read.
    void load();
    QString value(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    // Raises DbError with the reason when the file cannot be written.
    void save() const;

private:
    struct Section
    {
        QString name;       // empty for the lines before the first section
        QStringList lines;  // the section's lines after its heading
        QHash<QString, int> keys;  // folded key -> index into lines
    };
    Section &section(const QString &name);
    static QString keyOf(const QString &line);

    QString m_path;
    QByteArray m_encoding;
    QString m_lineEnd = QStringLiteral("\n");
    QList<Section> m_sections;
    QHash<QString, int> m_index;  // folded section name -> index into m_sections
};
