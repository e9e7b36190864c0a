// qlmdb: makes, fills and checks the program's database files.
#include "ConnectionString.h"
#include "Database.h"
#include "DemoData.h"
#include "NewDatabase.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

namespace {

enum ExitCode { Ok = 0, Failed = 1, BadArguments = 2 };

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int usage()
{
    err() << "usage: qlmdb create PATH\n"
             "       qlmdb demo PATH [--scale N] [--anchor yyyy-MM-dd]\n"
             "       qlmdb check PATH\n";
    err().flush();
    return BadArguments;
}

std::unique_ptr<Database> openExisting(const QString &path)
{
    return Database::open(path, ConnectionString::databasePassword().toUtf8());
}

int create(const QString &path)
{
    NewDatabase::create(path);
    out() << "created " << path << " (schema version " << Schema::currentVersion() << ")\n";
    return Ok;
}

int demo(const QString &path, const QStringList &options)
{
    int scale = 1;
    QDate anchor = QDate::currentDate();
    for (qsizetype i = 0; i < options.size(); ++i) {
        const QString &opt = options.at(i);
        if (i + 1 >= options.size())
            return usage();
        const QString value = options.at(++i);
        if (opt == u"--scale") {
            bool ok = false;
            scale = value.toInt(&ok);
            if (!ok || scale < 1 || scale > 10000) {
                err() << "qlmdb: --scale takes a whole number from 1 to 10000\n";
                return BadArguments;
            }
        } else if (opt == u"--anchor") {
            anchor = QDate::fromString(value, u"yyyy-MM-dd");
            if (!anchor.isValid()) {
                err() << "qlmdb: --anchor takes a date as yyyy-MM-dd\n";
                return BadArguments;
            }
        } else {
            return usage();
        }
    }
    auto db = openExisting(path);
    Schema::migrate(*db);
    const DemoData::Counts c = DemoData::add(*db, scale, anchor);
    // A database in a program's Data folder gets documents in that program's Files folder.
    const QDir folder = QFileInfo(path).absoluteDir();
    const int documents = folder.dirName() == u"Data" ? DemoData::addDocuments(QDir::cleanPath(folder.absoluteFilePath(QStringLiteral("../Files")))) : 0;
    if (folder.dirName() == u"Data") {
        DemoData::addWorkerPhotos(*db, QDir::cleanPath(folder.absoluteFilePath(QStringLiteral("../Files"))));
        DemoData::addStaffPhotos(*db, QDir::cleanPath(folder.absoluteFilePath(QStringLiteral("../Files"))));
    }
    out() << "added demo data to " << path << ": " << c.customers << " customers, " << c.linkmans << " contacts, "
          << c.states << " contact records, " << c.operates << " business records, " << c.details << " items, "
          << c.operaters << " staff, " << c.workers << " workers, " << c.shusong << " sending units, "
          << c.settlements << " settlements, " << c.plans << " plans, " << c.notices << " notices, " << c.logs
          << " log entries, " << c.users << " users, " << documents << " documents\n";
    return Ok;
}

int check(const QString &path)
{
    auto db = openExisting(path);
    const QStringList findings = db->integrityCheck();
    const int version = db->userVersion();
    bool good = findings == QStringList{QStringLiteral("ok")};
    out() << "integrity: " << findings.join(QStringLiteral("; ")) << "\n";
    out() << "schema version: " << version << " (this program: " << Schema::currentVersion() << ")\n";
    if (version != Schema::currentVersion())
        good = false;
    for (const TableDef &t : Schema::tables()) {
        if (db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND name=?1")
                           .replace(QStringLiteral("?1"), u'\'' + t.name + u'\''))
                .toInt() != 1) {
            out() << "missing table: " << t.name << "\n";
            good = false;
        }
    }
    out() << (good ? "check passed\n" : "check FAILED\n");
    return good ? Ok : Failed;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return usage();
    const QString command = args.at(0);
    const QString path = args.at(1);
    try {
        if (command == u"create" && args.size() == 2)
            return create(path);
        if (command == u"demo")
            return demo(path, args.mid(2));
        if (command == u"check" && args.size() == 2)
            return check(path);
        return usage();
    } catch (const DbError &e) {
        err() << "qlmdb: " << e.message() << "\n";
        return Failed;
    }
}
