#pragma once

// The database both contact test programs start from, and the windows over it.
#include "ActionGate.h"
#include "ContactWindows.h"
#include "CustomerWindows.h"
#include "Dataset.h"
#include "PasswordHash.h"
#include "ReportService.h"
#include "SeamRecorder.h"
#include "Statement.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uLinkman.h"
#include "uMain.h"
#include "uPublic.h"
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

inline QString dbText(const QString &sql)
{
    return dmMain->database()->scalar(sql).toString();
}

// The contact codes of a dataset's visible rows, sorted.
inline QStringList codesOf(Dataset *d)
{
    QStringList out;
    if (!d->isActive())
        return out;
    const int f = d->fieldIndex(s("LinkmanID"));
    for (int r = 0; r < d->recordCount(); ++r)
        out << d->textAt(r, f);
    out.sort();
    return out;
}

// Users: Admin (system), wang and li (every sub-right of the contact and customer windows),
// guest (no row for the contact window). Customers C1 (wang's), C2 (li's), C3 (wang's,
// no contacts). Contacts, with their own owners:
//   L01 C1 张三    wang  户主    a&b?c#d%e@例子.cn   named by a business record
//   L02 C1 张四    li    家属
//   L03 C2 李五    wang  经理    (no Email)          of a customer wang cannot see
//   L04 C2 O'Brien li    经理
//   L05 C1 50%_off wang  顾问    sale@shop.cn
//   L06 C2 " 空格" (no owner)   l6@x.cn
//   L07 C3 赵七    wang  司机    l7@x.cn
struct ContactFixture
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
        for (const char *u : {"wang", "li", "guest"})
            user.insert({s(u), hash, false});
        TableInserter right(*db, s("tblUserRight"),
                            {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
        for (const char *u : {"wang", "li"})
            for (const char *code : {"301", "302"})
                right.insert({s(u), s(code), true, true, true, true, true});
        right.insert({s("guest"), s("301"), true, true, true, true, true});
        TableInserter c(*db, s("tblCustomers"),
                        {s("CustId"), s("CustName"), s("SUser"), s("Telephone"), s("Fax"), s("Address"), s("Email"),
                         s("HomePage"), s("VocationID"), s("LevelID")});
        c.insert({s("C1"), s("王宅"), s("wang"), s("010-1111"), QVariant(), s("北京东城"), s("c1@home.cn"), s("三口之家"),
                  s("01"), s("A")});
        c.insert({s("C2"), s("李宅"), s("li"), s("010-2222"), s("010-2223"), s("北京西城"), QVariant(), QVariant(), s("01"), s("B")});
        c.insert({s("C3"), s("赵宅"), s("wang"), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), s("01"), s("A")});
        TableInserter l(*db, s("tblLinkmans"),
                        {s("LinkmanID"), s("CustID"), s("Name"), s("NickName"), s("Duty"), s("Email"), s("SUser"), s("Main")});
        l.insert({s("L01"), s("C1"), s("张三"), s("张先生"), s("户主"), s("a&b?c#d%e@例子.cn"), s("wang"), true});
        l.insert({s("L02"), s("C1"), s("张四"), s("张女士"), s("家属"), s("l2@x.cn"), s("li"), false});
        l.insert({s("L03"), s("C2"), s("李五"), s("李先生"), s("经理"), QVariant(), s("wang"), false});
        l.insert({s("L04"), s("C2"), s("O'Brien"), s("Mr O"), s("经理"), s("l4@x.cn"), s("li"), true});
        l.insert({s("L05"), s("C1"), s("50%_off"), s("小五"), s("顾问"), s("sale@shop.cn"), s("wang"), false});
        l.insert({s("L06"), s("C2"), s(" 空格"), QVariant(), QVariant(), s("l6@x.cn"), QVariant(), false});
        l.insert({s("L07"), s("C3"), s("赵七"), s("老赵"), s("司机"), s("l7@x.cn"), s("wang"), true});
        TableInserter(*db, s("tblOperates"), {s("OperateID"), s("CustID"), s("LinkmanID")})
            .insert({s("O1"), s("C1"), s("L01")});
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
        installCustomerWindows(*main);
        installContactWindows(*main);
        ReportService::setFolder(s(QLM_LAYOUT_DIR));
    }

    void stop()
    {
        // A failed test may leave a row pending: it is not to be posted on the way out.
        if (dmMain)
            for (Dataset *d : dmMain->findChildren<Dataset *>())
                if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
                    d->cancel();
        CustomerPickCaller.clear();
        main.reset();
        dm.reset();
        dir.reset();
        rec.reset();
        CurrentUserID.clear();
    }

    // Logs in as `user` and opens the contact window.
    void openAs(const QString &user, bool show = false)
    {
        CurrentUserID = user;
        QVERIFY(main->prepareAfterLogin());
        ActionGate::instance()->evaluate();
        main->action(s("Act_Linkman"))->trigger();
        if (show) {
            main->show();
            QVERIFY(QTest::qWaitForWindowActive(main.get()));
        }
        ActionGate::instance()->evaluate();
    }
};
