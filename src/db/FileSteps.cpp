#include "FileSteps.h"

#include "DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <filesystem>
#include <system_error>

namespace FileSteps {

namespace {

Injector &injector()
{
    static Injector i;
    return i;
}

[[noreturn]] void fail(const QString &what, const QString &path, const QString &reason)
{
    throw DbError(DbError::Kind::Other, QStringLiteral("%1 %2：%3").arg(what, QDir::toNativeSeparators(path), reason));
}

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

void setInjector(Injector i)
{
    injector() = std::move(i);
}

void check(Step step, const QString &from, const QString &to)
{
    if (!injector())
        return;
    const QString reason = injector()(step, from, to);
    if (reason.isEmpty())
        return;
    switch (step) {
    case Step::OnlineCopy:
    case Step::Copy:
        fail(QStringLiteral("无法复制到"), to, reason);
    case Step::Rename:
        fail(QStringLiteral("无法改名为"), to, reason);
    case Step::Remove:
        fail(QStringLiteral("无法删除"), from, reason);
    case Step::Write:
        fail(QStringLiteral("无法写入"), from, reason);
    case Step::Open:
        fail(QStringLiteral("无法打开"), from, reason);
    }
    fail(QString(), from, reason);
}

void copy(const QString &from, const QString &to)
{
    check(Step::Copy, from, to);
    QFile in(from);
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        fail(QStringLiteral("无法复制到"), to, QStringLiteral("文件已存在"));
    if (!in.copy(to))
        fail(QStringLiteral("无法复制到"), to, in.errorString());
}

void rename(const QString &from, const QString &to)
{
    check(Step::Rename, from, to);
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    if (ec)
        fail(QStringLiteral("无法改名为"), to, QString::fromLocal8Bit(ec.message()));
}

void remove(const QString &path)
{
    check(Step::Remove, path);
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return;
    QFile f(path);
    if (!f.remove())
        fail(QStringLiteral("无法删除"), path, f.errorString());
}

void write(const QString &path, const QByteArray &bytes)
{
    check(Step::Write, path);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        fail(QStringLiteral("无法写入"), path, out.errorString());
    if (out.write(bytes) != bytes.size() || !out.flush()) {
        const QString reason = out.errorString();
        out.close();
        out.remove();
        fail(QStringLiteral("无法写入"), path, reason);
    }
    out.close();
}

QString temporaryBeside(const QString &target)
{
    const QFileInfo info(target);
    for (;;) {
        const QString name = u'.' + info.fileName() + QStringLiteral(".tmp-")
            + QUuid::createUuid().toString(QUuid::Id128).left(12);
        const QString path = info.dir().filePath(name);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
    }
}

}  // namespace FileSteps
