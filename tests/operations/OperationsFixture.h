#pragma once

// The database both business-record test files start from.
// Users: Admin (system), wang and li (every sub-right of 301 and 304), o'neil (304, a
// quote in his ID). Customers C1 (wang's), C2 (o'neil's), C3 (li's).
// Records: OP1 (C1, wang, USD, amount 100, RMB 123 as stored, rate 0.5, item I1),
// OP2 (C2, o'neil, no items), OP3 (C3, li), OP4 (wang's record of li's customer C3).
// Currency EUR has no rate.
#include "PasswordHash.h"
#include "TableInserter.h"
#include "TestDb.h"

#include <QDateTime>

inline void fillOperationsFixture(Database &db)
{
    const auto s = [](const char *t) { return QString::fromUtf8(t); };
    Transaction tx(db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    for (const char *u : {"wang", "li", "o'neil"})
        user.insert({s(u), hash, false});
    TableInserter right(db, s("tblUserRight"),
                        {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    for (const char *u : {"wang", "li", "o'neil"})
        right.insert({s(u), s("304"), true, true, true, true, true});
    for (const char *u : {"wang", "li"})
        right.insert({s(u), s("301"), true, true, true, true, true});
    TableInserter c(db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser"), s("Telephone"), s("Email")});
    c.insert({s("C1"), s("王宅"), s("wang"), s("010-1111"), s("c1@home.cn")});
    c.insert({s("C2"), s("欧宅"), s("o'neil"), s("010-2222"), QVariant()});
    c.insert({s("C3"), s("李宅"), s("li"), s("010-3333"), s("c3@home.cn")});
    TableInserter rate(db, s("tblCurrencyRate"), {s("CurrID"), s("CurrName"), s("Rate"), s("Memo")});
    rate.insert({s("EUR"), s("欧元"), QVariant(), s("汇率待定")});
    const QDateTime day(QDate(2026, 3, 1), QTime(0, 0));
    TableInserter op(db, s("tblOperates"),
                     {s("OperateID"), s("OperateTitle"), s("CustID"), s("Link"), s("CreateDate"), s("OriginId"),
                      s("TypeID"), s("InOrOut"), s("WriteDate"), s("EndDate"), s("CompactAmount"), s("Profit"),
                      s("Rate"), s("OperateStateID"), s("SUser"), s("CurrID"), s("RMB")});
    op.insert({s("OP1"), s("王宅保姆合同"), s("C1"), false, day, s("01"), s("01"), s("收款"), day, day.addDays(365),
               100.0, 50.0, 0.5, s("02"), s("wang"), s("USD"), 123.0});
    op.insert({s("OP2"), s("欧宅钟点工"), s("C2"), false, day, s("01"), s("02"), s("收款"), day, day.addDays(30),
               200.0, 20.0, 0.1, s("01"), s("o'neil"), s("RMB"), 200.0});
    op.insert({s("OP3"), s("李宅月嫂"), s("C3"), false, day, s("02"), s("03"), s("付款"), day, day.addDays(60),
               300.0, 30.0, 0.1, s("02"), s("li"), s("RMB"), 300.0});
    op.insert({s("OP4"), s("李宅护工"), s("C3"), false, day, s("02"), s("05"), s("收款"), day, day.addDays(60),
               400.0, 40.0, 0.1, s("02"), s("wang"), s("RMB"), 400.0});
    TableInserter item(db, s("tblOperateDetail"),
                       {s("OperateID"), s("DetailNo"), s("DTitle"), s("OperateDate"), s("InOut"), s("Price"),
                        s("Amount"), s("DTotal"), s("CurrID"), s("RMB")});
    item.insert({s("OP1"), s("I1"), s("首期服务费"), day, s("收入"), 10.0, 2.0, 20.0, s("USD"), 142.0});
    tx.commit();
}
