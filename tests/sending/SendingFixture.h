#pragma once

// The database both sending-unit test programs start from, and the windows over it.
#include "ActionGate.h"
#include "Dataset.h"
#include "LogEntries.h"
#include "PasswordHash.h"
#include "ReportService.h"
#include "SeamRecorder.h"
#include "SendingWindows.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uMain.h"
#include "uPublic.h"
#include "uShusong.h"
#include "udmMain.h"

#include <QAction>
#include <QtTest>
#include <memory>

inline QString s(const char *t)
{
    return QString::fromUtf8(t);
}

inline int count(const QString &sql)
{
    return dmMain->database()->scalar(sql).toInt();
}

inline QVariant dbValue(const QString &sql)
{
    return dmMain->database()->scalar(sql);
}

// The unit numbers of tblShusong's visible rows, sorted.
inline QStringList unitsShown()
{
    QStringList out;
    Dataset *d = dmMain->tblShusong;
    if (!d->isActive())
        return out;
    const int f = d->fieldIndex(s("ShusongID"));
    for (int r = 0; r < d->recordCount(); ++r)
        out << d->textAt(r, f);
    out.sort();
    return out;
}

// Users: Admin (system), wang (every sub-right of 603), guest (603 without sub-rights),
// adder (603 Insert only), remover (603 Delete only).
// Units:
//   U1 河北劳务中心   settlements 1 and 2
//   U2 O'Neil Ltd     no settlements, named by worker W1
//   U3 50%_off        no settlements
//   U4 a_b中心        no settlements
//   U5 甘肃中心        settlement 1
struct SendingFixture
{
    std::unique_ptr<TestAppDir> dir;
    std::unique_ptr<TdmMain> dm;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<SeamRecorder> rec;

    static void makeTemplate(TestAppDir &t)
    {
        auto db = t.open();
        Transaction tx(*db);
        const QString hash = PasswordHash::make(s("pw"), 1000);
        TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
        for (const char *u : {"wang", "guest", "adder", "remover"})
            user.insert({s(u), hash, false});
        TableInserter right(*db, s("tblUserRight"),
                            {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
        right.insert({s("wang"), s("603"), true, true, true, true, true});
        right.insert({s("guest"), s("603"), false, false, false, false, false});
        right.insert({s("adder"), s("603"), true, false, false, false, false});
        right.insert({s("remover"), s("603"), false, false, true, false, false});
        TableInserter u(*db, s("tblShusong"),
                        {s("ShusongID"), s("ShusongName"), s("Manager"), s("ID"), s("Telephone"), s("Fax"), s("Mobile"),
                         s("Homepage"), s("Email")});
        u.insert({s("U1"), s("河北劳务中心"), s("张主任"), s("130102197501010011"), s("0311-1111"), s("0311-1112"),
                  s("13900000001"), s("www.hb.example"), s("hb@x.cn")});
        u.insert({s("U2"), s("O'Neil Ltd"), s("O'Neil"), QVariant(), s("010-2222"), QVariant(), s("13900000002"),
                  QVariant(), s("on@x.cn")});
        u.insert({s("U3"), s("50%_off"), s("李四"), QVariant(), QVariant(), s("010-3333"), QVariant(),
                  s("https://off.example"), QVariant()});
        u.insert({s("U4"), s("a_b中心"), s("王五"), s("410102198001010022"), QVariant(), QVariant(), QVariant(), QVariant(),
                  QVariant()});
        u.insert({s("U5"), s("甘肃中心"), s("赵六"), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
        TableInserter yj(*db, s("tblShusongYJ"), {s("sNo"), s("ShusongID"), s("JDate"), s("Jingban"), s("Jieshao"), s("Qita")});
        yj.insert({1, s("U1"), s("2026-01-05 00:00:00"), s("张红"), 800.0, 50.0});
        yj.insert({2, s("U1"), s("2026-02-05 00:00:00"), s("刘芳"), 1200.0, QVariant()});
        yj.insert({1, s("U5"), s("2026-03-05 00:00:00"), s("陈静"), 600.0, 0.0});
        TableInserter(*db, s("tblYuangong"), {s("YuangongID"), s("Name"), s("ShusongID")})
            .insert({s("W1"), s("王小妹"), s("U2")});
        tx.commit();
    }

    void start(const TestAppDir &templ)
    {
        rec = std::make_unique<SeamRecorder>();
        dir = std::make_unique<TestAppDir>(false);
        QVERIFY(QFile::copy(templ.databasePath(), dir->databasePath()));
        SetAppDir(dir->appDir());
        dm = std::make_unique<TdmMain>();
        QVERIFY(dm->connectDatabase(AppDir));
        main = std::make_unique<TfrmMain>();
        installSendingWindows(*main);
        ReportService::setFolder(s(QLM_LAYOUT_DIR));
    }

    void stop()
    {
        // A failed test may leave a row pending: it is not to be posted on the way out.
        if (dmMain)
            for (Dataset *d : dmMain->findChildren<Dataset *>())
                if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
                    d->cancel();
        main.reset();
        dm.reset();
        dir.reset();
        rec.reset();
        CurrentUserID.clear();
    }

    // Logs in as `user` and opens the sending-unit window on unit `unit`.
    void openAs(const QString &user, const QString &unit = s("U1"))
    {
        CurrentUserID = user;
        QVERIFY(main->prepareAfterLogin());
        ActionGate::instance()->evaluate();
        main->action(s("Act_Shusong"))->trigger();
        QVERIFY(dmMain->tblShusong->isActive());
        QVERIFY(dmMain->tblShusong->locateKey(s("ShusongID"), unit));
        ActionGate::instance()->evaluate();
    }
};
