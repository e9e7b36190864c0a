#include "DemoData.h"

#include "Database.h"
#include "PasswordHash.h"
#include "RightCodes.h"
#include "Statement.h"
#include "TableInserter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QStringList>

#include <functional>

namespace DemoData {

namespace {

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList u8List(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *i : items)
        out << u8(i);
    return out;
}

class Maker
{
public:
    Maker(Database &db, int scale, const QDate &anchor) : m_db(db), m_scale(scale), m_anchor(anchor), m_rng(20031208)
    {
    }

    Counts run()
    {
        users();
        staff();
        shusong();
        customers();
        workers();
        plansAndNotices();
        log();
        return m_counts;
    }

private:
    int pick(int n) { return int(m_rng.bounded(n)); }
    const QString &pick(const QStringList &list) { return list.at(pick(int(list.size()))); }
    QString code(const char *prefix, qint64 n, int digits) const
    {
        return u8(prefix) + QStringLiteral("%1").arg(n, digits, 10, QLatin1Char('0'));
    }
    QString personName()
    {
        return pick(m_surnames) + pick(m_given) + (pick(3) == 0 ? QString() : pick(m_given));
    }
    QString mobile() { return QStringLiteral("13%1").arg(qint64(m_rng.bounded(100000000, 999999999)), 9); }
    QString phone() { return QStringLiteral("010-%1").arg(m_rng.bounded(60000000, 89999999)); }
    QDateTime day(int from, int to) { return QDateTime(m_anchor.addDays(from + pick(to - from + 1)), QTime(0, 0)); }
    QString owner() { return m_owners.at(pick(int(m_owners.size()))); }
    QString address()
    {
        return u8("北京市") + pick(m_districts) + pick(m_streets) + QString::number(1 + pick(200)) + u8("号")
            + QString::number(1 + pick(20)) + u8("单元") + QString::number(101 + pick(1800)) + u8("室");
    }

    void users()
    {
        TableInserter user(m_db, QStringLiteral("tblUser"),
                           {QStringLiteral("UserID"), QStringLiteral("UserName"), QStringLiteral("Password"),
                            QStringLiteral("DeptID"), QStringLiteral("Duty"), QStringLiteral("State"),
                            QStringLiteral("Sys")});
        TableInserter right(m_db, QStringLiteral("tblUserRight"),
                            {QStringLiteral("UserID"), QStringLiteral("RightID"), QStringLiteral("Insert"),
                             QStringLiteral("Modify"), QStringLiteral("Delete"), QStringLiteral("Query"),
                             QStringLiteral("Print")});
        // One hash serves every demo user: they all start with the same password.
        const QString hash = PasswordHash::make(u8("482716"));
        struct U { const char *id, *name, *dept, *duty, *state; bool sys; };
        const U list[] = {{"wang", "王丽", "02", "业务经理", "Yes", false},
                          {"li", "李强", "02", "业务员", "Yes", false},
                          {"zhao", "赵敏", "03", "会计", "No", false}};
        for (const U &u : list) {
            user.insert({u8(u.id), u8(u.name), hash, u8(u.dept), u8(u.duty), u8(u.state), u.sys});
            ++m_counts.users;
        }
        for (const RightCode &code : RightCodes::all()) {
            if (code.code.startsWith(u'3') || code.code.startsWith(u'6') || code.code == u"101" || code.code == u"501")
                right.insert({u8("wang"), code.code, true, true, true, true, true});
            if (code.code.startsWith(u'3'))
                right.insert({u8("li"), code.code, true, true, false, true, true});
        }
        m_owners = u8List({"Admin", "wang", "wang", "li", "li", "li"});
    }

    void staff()
    {
        TableInserter ins(m_db, QStringLiteral("tblOperaters"),
                          {QStringLiteral("OperaterID"), QStringLiteral("Name"), QStringLiteral("NickName"),
                           QStringLiteral("Sex"), QStringLiteral("DepartmentID"), QStringLiteral("Duty"),
                           QStringLiteral("Education"), QStringLiteral("Birth"), QStringLiteral("ID"),
                           QStringLiteral("Native"), QStringLiteral("CTelephone"), QStringLiteral("Mobile"),
                           QStringLiteral("Address"), QStringLiteral("Email"), QStringLiteral("InTime"),
                           QStringLiteral("State"), QStringLiteral("FilePath"), QStringLiteral("SUser")});
        const QStringList education = u8List({"专科", "本科", "硕士", "中专", "高中", "初中"});
        const int n = 12 * m_scale;
        for (int i = 1; i <= n; ++i) {
            const QString id = code("S", i, 4);
            const QString sex = pick(3) == 0 ? u8("男") : u8("女");
            const QString name = personName();
            ins.insert({id, name, name.left(1) + (sex == u8("男") ? u8("先生") : u8("女士")), sex,
                        code("0", 1 + pick(4), 1), pick(m_duties), pick(education),
                        QDateTime(QDate(1965 + pick(35), 1 + pick(12), 1 + pick(28)), QTime(0, 0)),
                        QStringLiteral("1101%1").arg(qint64(m_rng.bounded(10000000, 99999999)) * 1000000LL
                                                     + m_rng.bounded(100000, 999999)),
                        pick(m_natives), phone(), mobile(), address(), QStringLiteral("staff%1@jiazheng.example").arg(i),
                        day(-2000, -30), i % 9 == 0 ? u8("离职") : u8("在职"), u8("Operaters/") + id, owner()});
            m_staffIds << id;
        }
        m_counts.operaters = n;
    }

    void shusong()
    {
        TableInserter unit(m_db, QStringLiteral("tblShusong"),
                           {QStringLiteral("ShusongID"), QStringLiteral("ShusongName"), QStringLiteral("Manager"),
                            QStringLiteral("Duty"), QStringLiteral("Telephone"), QStringLiteral("Fax"),
                            QStringLiteral("Mobile"), QStringLiteral("Email"), QStringLiteral("Memo"),
                            QStringLiteral("Homepage"), QStringLiteral("ID")});
        TableInserter yj(m_db, QStringLiteral("tblShusongYJ"),
                         {QStringLiteral("sNo"), QStringLiteral("ShusongID"), QStringLiteral("JDate"),
                          QStringLiteral("Jingban"), QStringLiteral("Jieshao"), QStringLiteral("Qita"),
                          QStringLiteral("BeginDate"), QStringLiteral("EndDate"), QStringLiteral("Memo")});
        const QStringList places = u8List({"河北", "河南", "安徽", "四川", "山东", "甘肃", "湖南", "江西"});
        const int n = 8 * m_scale;
        for (int i = 1; i <= n; ++i) {
            const QString id = code("SS", i, 3);
            const QString place = places.at((i - 1) % places.size());
            unit.insert({id, place + u8("省劳务输出中心") + (i > places.size() ? QString::number(i) : QString()),
                         personName(), u8("主任"), phone(), phone(), mobile(),
                         QStringLiteral("unit%1@labour.example").arg(i), u8("长期合作输送单位"),
                         i % 2 ? QVariant(QStringLiteral("www.labour%1.example").arg(i)) : QVariant(),
                         i % 3 ? QVariant(QStringLiteral("4101021975%1").arg(i, 8, 10, QLatin1Char('0'))) : QVariant()});
            // The last unit is new: no settlements and no worker names it; the first carries
            // its five settlements too, the first of them with the fees not yet known.
            if (i == n && n > 1)
                continue;
            m_shusongIds << id;
            for (int s = 1; s <= (i == 1 && n > 1 ? 10 : 5); ++s) {
                const QDate begin = m_anchor.addMonths(-6 + (s - 1) % 5 + 1).addDays(-m_anchor.day() + 1);
                const QString staff = pick(m_staffNames());
                const double fee = double(200 * (1 + pick(10)));
                const double other = double(50 * pick(6));
                const bool unknown = i == 1 && s == 1;
                yj.insert({s, id, QDateTime(begin.addMonths(1), QTime(0, 0)), staff, unknown ? QVariant() : QVariant(fee),
                           unknown ? QVariant() : QVariant(other), QDateTime(begin, QTime(0, 0)),
                           QDateTime(begin.addMonths(1).addDays(-1), QTime(0, 0)), u8("月度介绍费结算")});
                ++m_counts.settlements;
            }
        }
        m_counts.shusong = n;
    }

    const QStringList &m_staffNames()
    {
        if (m_names.isEmpty())
            m_names = u8List({"张红", "刘芳", "陈静", "杨帆"});
        return m_names;
    }

    void customers()
    {
        TableInserter cust(m_db, QStringLiteral("tblCustomers"),
                           {QStringLiteral("CustId"), QStringLiteral("CustName"), QStringLiteral("CountryID"),
                            QStringLiteral("DistID"), QStringLiteral("City"), QStringLiteral("PostCode"),
                            QStringLiteral("Telephone"), QStringLiteral("Fax"), QStringLiteral("Address"),
                            QStringLiteral("Email"), QStringLiteral("HomePage"), QStringLiteral("VocationID"),
                            QStringLiteral("OriginID"), QStringLiteral("LevelID"), QStringLiteral("StateId"),
                            QStringLiteral("CreateDate"), QStringLiteral("OperaterID"), QStringLiteral("Memo"),
                            QStringLiteral("SUser"), QStringLiteral("MainLinkman"), QStringLiteral("MainTelephone")});
        TableInserter info(m_db, QStringLiteral("tblCustomerAddInfo"),
                           {QStringLiteral("CustID"), QStringLiteral("BankID"), QStringLiteral("BankAddress"),
                            QStringLiteral("Account"), QStringLiteral("VATaxName"), QStringLiteral("VATaxID"),
                            QStringLiteral("VATaxBank"), QStringLiteral("VATaxAccount"), QStringLiteral("VATaxAddress"),
                            QStringLiteral("VATaxPhone")});
        TableInserter link(m_db, QStringLiteral("tblLinkmans"),
                           {QStringLiteral("LinkmanID"), QStringLiteral("CustID"), QStringLiteral("Main"),
                            QStringLiteral("Name"), QStringLiteral("NickName"), QStringLiteral("Department"),
                            QStringLiteral("Duty"), QStringLiteral("Telephone"), QStringLiteral("Mobile"),
                            QStringLiteral("Email"), QStringLiteral("HomeAddress"), QStringLiteral("Enjoy"),
                            QStringLiteral("SpecialDate"), QStringLiteral("Memo"), QStringLiteral("SUser"),
                            QStringLiteral("Fax"), QStringLiteral("HomePage")});
        TableInserter state(m_db, QStringLiteral("tblCustomerState"),
                            {QStringLiteral("CustID"), QStringLiteral("LinkDate"), QStringLiteral("LinkTime"),
                             QStringLiteral("LinkType"), QStringLiteral("Linkman"), QStringLiteral("Duty"),
                             QStringLiteral("Charge"), QStringLiteral("LinkContent"), QStringLiteral("Address"),
                             QStringLiteral("Memo")});
        TableInserter op(m_db, QStringLiteral("tblOperates"),
                         {QStringLiteral("OperateID"), QStringLiteral("OperateTitle"), QStringLiteral("CustID"),
                          QStringLiteral("Link"), QStringLiteral("CreateDate"), QStringLiteral("LinkmanID"),
                          QStringLiteral("OriginId"), QStringLiteral("TypeID"), QStringLiteral("WriteDate"),
                          QStringLiteral("EndDate"), QStringLiteral("OperaterID"), QStringLiteral("CompactAmount"),
                          QStringLiteral("Profit"), QStringLiteral("Rate"), QStringLiteral("InOrOut"),
                          QStringLiteral("OperateStateID"), QStringLiteral("FilePath"), QStringLiteral("SUser"),
                          QStringLiteral("CurrID"), QStringLiteral("RMB")});
        TableInserter item(m_db, QStringLiteral("tblOperateDetail"),
                           {QStringLiteral("OperateID"), QStringLiteral("DetailNo"), QStringLiteral("DTitle"),
                            QStringLiteral("OperateDate"), QStringLiteral("InOut"), QStringLiteral("Price"),
                            QStringLiteral("Amount"), QStringLiteral("DTotal"), QStringLiteral("CurrID"),
                            QStringLiteral("RMB"), QStringLiteral("Memo")});

        const QStringList linkTypes = u8List({"电话联系", "登门拜访", "电子邮件联系", "应邀上门", "招待客户"});
        const QStringList contents = u8List({"了解保姆需求", "回访服务质量", "商谈续约", "更换家政人员", "收取服务费"});
        const QStringList trackRemarks =
            u8List({"客户满意，下月续约", "需尽快安排更换保姆", "费用已报销", "请经理再次回访"});
        const QStringList services = u8List({"住家保姆", "钟点工", "月嫂", "育婴师", "老人护理", "保洁"});
        const QStringList family = u8List({"夫妻二人", "三口之家", "老人二位", "夫妻及两个孩子", "独居老人"});
        const QStringList hobbies = u8List({"书法", "旅游", "摄影", "太极拳", "园艺", "音乐"});
        const QStringList levels = u8List({"A", "B", "B", "C"});
        const qint64 n = 100LL * m_scale;
        qint64 linkNo = 0, opNo = 0;
        for (qint64 i = 1; i <= n; ++i) {
            const QString id = code("C", i, 6);
            const bool firm = pick(5) == 0;
            const QString contact = personName();
            const QString contactMobile = mobile();
            const QString sUser = owner();
            const QString name = firm ? pick(m_firms) + u8("有限公司") + (i > 20 ? QString::number(i) : QString())
                                      : contact.left(1) + u8("宅") + (i > 20 ? QStringLiteral("（%1）").arg(i) : QString());
            const QString staffId = m_staffIds.at(pick(int(m_staffIds.size())));
            const QString customerAddress = address();
            const QString customerPhone = phone();
            cust.insert({id, name, u8("CN"), code("0", 1 + pick(6), 1), QString::number(1 + pick(3)),
                         QStringLiteral("1000%1").arg(10 + pick(89)), customerPhone, firm ? phone() : QString(), customerAddress,
                         QStringLiteral("c%1@mail.example").arg(i), firm ? u8("行政部") : pick(family),
                         firm ? u8("02") : u8("01"), code("0", 1 + pick(5), 1), pick(levels), code("0", 1 + pick(4), 1),
                         i % 10 == 0 ? day(-29, 0) : day(-720, 0), staffId, u8("客户要求：") + pick(services), sUser, contact, contactMobile});
            m_customerIds << id;
            if (i % 3 == 0)
                info.insert({id, code("0", 1 + pick(4), 1), u8("北京市") + pick(m_districts) + u8("支行"),
                             QStringLiteral("6222%1").arg(qint64(m_rng.bounded(100000000, 999999999))), name,
                             QStringLiteral("91110%1").arg(qint64(m_rng.bounded(100000000, 999999999))),
                             u8("中国工商银行北京") + pick(m_districts) + u8("支行"),
                             QStringLiteral("0200%1").arg(i, 10, 10, QLatin1Char('0')), customerAddress, customerPhone});

            QStringList linkIds;
            for (int k = 0; k < 2; ++k) {
                const QString lid = code("L", ++linkNo, 7);
                const QString lname = k == 0 ? contact : personName();
                // Without drawing from the generator, so the rest of the demo stays as it was: about one
                // contact in ten without an address, one in twenty-five without an owner, one in
                // seven owned by another user than the customer.
                QString linkOwner = sUser;
                if (linkNo % 25 == 0)
                    linkOwner.clear();
                else if (linkNo % 7 == 0)
                    linkOwner = u8List({"wang", "li", "Admin"}).at((u8List({"Admin", "wang", "li"}).indexOf(sUser) + 3) % 3);
                link.insert({lid, id, k == 0, lname, lname.left(1) + (pick(2) ? u8("先生") : u8("女士")),
                             firm ? u8("行政部") : QString(), firm ? u8("经理") : (k == 0 ? u8("户主") : u8("家属")),
                             phone(), k == 0 ? contactMobile : mobile(),
                             linkNo % 10 == 3 ? QString() : QStringLiteral("l%1@mail.example").arg(linkNo),
                             address(), pick(hobbies), day(-15000, -7000),
                             linkNo % 4 == 0 ? (k == 0 ? u8("主要联系人，节假日前电话问候") : u8("仅在户主不在时联系")) : QString(),
                             linkOwner,
                             firm ? QStringLiteral("010-6%1").arg(linkNo % 10000000, 7, 10, QLatin1Char('0')) : QString(),
                             firm ? QStringLiteral("www.firm%1.example").arg(i) : QString()});
                linkIds << lid;
            }
            m_counts.linkmans += 2;

            for (int k = 0; k < 3; ++k) {
                state.insert({id, day(-365, 0), QStringLiteral("%1:%2:00").arg(8 + pick(10), 2, 10, QLatin1Char('0'))
                                                    .arg(pick(4) * 15, 2, 10, QLatin1Char('0')),
                              pick(linkTypes), contact, firm ? u8("经理") : u8("户主"), double(pick(5) * 20),
                              pick(contents), firm ? u8("客户单位") : u8("客户家中"),
                              // Remarks the staff tracking window shows, on every fifth customer's first record.
                              k == 0 && i % 5 == 1 ? trackRemarks.at((i / 5) % trackRemarks.size()) : QString()});
            }
            m_counts.states += 3;

            const int ops = (i % 2 == 0) ? 2 : 1;
            for (int k = 0; k < ops; ++k) {
                const QString oid = code("HT", ++opNo, 7);
                const bool in = pick(5) != 0;
                const bool usd = pick(30) == 0;
                const double amount = 1000.0 * (2 + pick(30));
                const double profit = amount * (5 + pick(20)) / 100.0;
                const double rate = usd ? 7.1 : 1.0;
                const int type = 1 + pick(6);
                const QDateTime created = day(-400, 0);
                // About one record in forty falls due on the anchor day, and every twentieth too (without
                // drawing from the generator), so each owner's today view lists some.
                QDateTime end = pick(40) == 0 ? QDateTime(m_anchor, QTime(0, 0)) : created.addDays(30 + pick(330));
                if (opNo % 20 == 0)
                    end = QDateTime(m_anchor, QTime(0, 0));
                op.insert({oid, services.at(type - 1) + u8("服务合同"), id, false, created, linkIds.first(),
                           code("0", 1 + pick(3), 1), code("0", type, 1), created.addDays(pick(10)), end, staffId,
                           amount, profit, profit / amount, in ? u8("收款") : u8("付款"), code("0", 1 + pick(4), 1),
                           u8("按月结算"), sUser, usd ? u8("USD") : u8("RMB"), amount * rate});
                for (int d = 1; d <= 3; ++d) {
                    const double price = amount / 10.0 * (1 + pick(3));
                    const double qty = 1 + pick(2);
                    item.insert({oid, QString::number(d), d == 1 ? u8("首期服务费") : u8("第") + QString::number(d) + u8("期服务费"),
                                 created.addDays(30 * (d - 1)), in ? u8("收入") : u8("支出"), price, qty, price * qty,
                                 usd ? u8("USD") : u8("RMB"), price * qty * rate, QString()});
                }
                m_counts.details += 3;
                ++m_counts.operates;
            }
        }
        m_counts.customers = n;
        namedOperations(op, item);
    }

    // Records named for what they show, outside the generator so the rest stays as it was:
    // a Hong Kong dollar contract its items settle to the cent, a record without currency,
    // items of every kind (one without currency), an overpaid payment contract, a record
    // without items.
    void namedOperations(TableInserter &op, TableInserter &item)
    {
        const QDateTime created(m_anchor.addDays(-60), QTime(0, 0));
        const QDateTime end(m_anchor.addDays(120), QTime(0, 0));
        const QString staff = m_staffIds.first();
        struct Op
        {
            const char *id, *title, *customer, *direction, *currency;
            double amount, profit;
        };
        const Op ops[] = {{"DEMO-HK01", "港币保洁合同（分期结清）", "C000001", "收款", "HKD", 12345.67, 1234.57},
                          {"DEMO-NOCUR", "未定币别的护工合同", "C000002", "收款", nullptr, 8000.0, 800.0},
                          {"DEMO-KINDS", "月嫂合同（各类子项）", "C000003", "收款", "RMB", 9000.0, 1800.0},
                          {"DEMO-OVERPAY", "育婴师外包合同（多付）", "C000004", "付款", "RMB", 5000.0, 500.0},
                          {"DEMO-EMPTY", "钟点工合同（尚无子项）", "C000005", "收款", "RMB", 3000.0, 0.0}};
        const auto rateOf = [](const char *currency) { return qstrcmp(currency, "HKD") == 0 ? 0.91 : 1.0; };
        for (const Op &o : ops) {
            const QVariant currency = o.currency ? QVariant(u8(o.currency)) : QVariant();
            const QVariant rmb = o.currency ? QVariant(o.amount * rateOf(o.currency)) : QVariant();
            op.insert({u8(o.id), u8(o.title), u8(o.customer), false, created, QVariant(), u8("01"), u8("02"), created,
                       end, staff, o.amount, o.profit, o.profit / o.amount, u8(o.direction), u8("02"), u8("演示记录"),
                       u8("Admin"), currency, rmb});
            ++m_counts.operates;
        }
        struct Item
        {
            const char *op, *no, *title, *kind, *currency;
            double price, qty;
        };
        const Item items[] = {{"DEMO-HK01", "1", "首期保洁费", "收入", "HKD", 6172.83, 1},
                              {"DEMO-HK01", "2", "尾期保洁费", "收入", "HKD", 6172.84, 1},
                              {"DEMO-KINDS", "1", "月嫂服务费", "收入", "RMB", 4500, 2},
                              {"DEMO-KINDS", "2", "体检费用", "支出", "RMB", 300, 1},
                              {"DEMO-KINDS", "3", "电话确认上户时间", "业务联系", "RMB", 0, 0},
                              {"DEMO-KINDS", "4", "上户回访", "拜访", nullptr, 50, 1},
                              {"DEMO-KINDS", "5", "宴请客户", "招待", "RMB", 260, 1},
                              {"DEMO-OVERPAY", "1", "外包服务费", "支出", "RMB", 3000, 2}};
        for (const Item &i : items) {
            const double total = i.price * i.qty;
            item.insert({u8(i.op), u8(i.no), u8(i.title), created.addDays(7 * (u8(i.no).toInt() - 1)), u8(i.kind), i.price,
                         i.qty, total, i.currency ? QVariant(u8(i.currency)) : QVariant(),
                         i.currency ? QVariant(total * rateOf(i.currency)) : QVariant(), QString()});
            ++m_counts.details;
        }
    }

    void workers()
    {
        TableInserter ins(m_db, QStringLiteral("tblYuangong"),
                          {QStringLiteral("YuangongID"), QStringLiteral("Name"), QStringLiteral("NickName"),
                           QStringLiteral("Sex"), QStringLiteral("DepartmentID"), QStringLiteral("Duty"),
                           QStringLiteral("Education"), QStringLiteral("Birth"), QStringLiteral("Health"),
                           QStringLiteral("GongzhongID"), QStringLiteral("Native"), QStringLiteral("Jieshao"),
                           QStringLiteral("Mobile"), QStringLiteral("Address"), QStringLiteral("ShusongID"),
                           QStringLiteral("CustID"), QStringLiteral("InTime"), QStringLiteral("State"),
                           QStringLiteral("FilePath"), QStringLiteral("SUser"), QStringLiteral("LevelID"),
                           QStringLiteral("TJID"), QStringLiteral("OutTime"), QStringLiteral("OutReason")});
        const QStringList health = u8List({"良好", "良好", "一般", "较差"});
        const QStringList education = u8List({"初中", "高中", "中专", "初中", "专科", "本科", "硕士"});
        const QStringList reasons = u8List({"回乡照顾家人", "合同期满", "另谋他职", "身体原因"});
        const int n = 80 * m_scale;
        for (int i = 1; i <= n; ++i) {
            const QString id = code("Y", i, 5);
            const bool placed = pick(3) != 0;
            const bool left = !placed && pick(3) == 0;
            ins.insert({id, personName(), u8("阿姨"), pick(8) == 0 ? u8("男") : u8("女"), u8("04"), u8("家政员"),
                        pick(education), QDateTime(QDate(1960 + pick(40), 1 + pick(12), 1 + pick(28)), QTime(0, 0)),
                        pick(health), code("0", 1 + pick(5), 1), pick(m_natives), personName(), mobile(), address(),
                        m_shusongIds.at(pick(int(m_shusongIds.size()))),
                        placed ? m_customerIds.at(pick(int(m_customerIds.size()))) : QString(), day(-1000, -10),
                        left ? u8("离职") : u8("在职"), u8("Yuangong/") + id, owner(), code("0", 1 + pick(3), 1),
                        code("0", 1 + pick(3), 1), left ? QVariant(day(-9, -1)) : QVariant(),
                        left ? QVariant(pick(reasons)) : QVariant()});
        }
        m_counts.workers = n;
    }

    void plansAndNotices()
    {
        TableInserter plan(m_db, QStringLiteral("tblPlan"),
                           {QStringLiteral("AttendMan"), QStringLiteral("PlanDate"), QStringLiteral("PlanTime"),
                            QStringLiteral("Address"), QStringLiteral("CustID"), QStringLiteral("Linkman"),
                            QStringLiteral("OperateId"), QStringLiteral("Memo")});
        const QStringList items = u8List({"面试保姆", "签订合同", "回访客户", "上门服务", "收取服务费", "培训上岗"});
        const int n = 40 * m_scale;
        for (int i = 0; i < n; ++i) {
            // Every fifth appointment is on the anchor day.
            const QDateTime when = i % 5 == 0 ? QDateTime(m_anchor, QTime(0, 0)) : day(-30, 30);
            plan.insert({pick(m_staffNames()), when,
                         QStringLiteral("%1:%2:00").arg(8 + pick(10), 2, 10, QLatin1Char('0')).arg(pick(2) * 30, 2, 10, QLatin1Char('0')),
                         address(), m_customerIds.at(pick(int(m_customerIds.size()))), personName(), pick(items),
                         u8("请提前十分钟到达")});
        }
        m_counts.plans = n;

        TableInserter board(m_db, QStringLiteral("tblBoard"),
                            {QStringLiteral("BDate"), QStringLiteral("BTitle"), QStringLiteral("Man"), QStringLiteral("Memo")});
        const QStringList titles = u8List({"家政员培训通知", "春节值班安排", "新服务价格表", "客户回访要求", "安全注意事项"});
        const int notices = 15 * m_scale;
        for (int i = 0; i < notices; ++i) {
            const QDateTime when = i % 4 == 0 ? QDateTime(m_anchor, QTime(0, 0)) : day(-60, 10);
            board.insert({when, pick(titles), pick(m_staffNames()), u8("请各部门按时落实，有问题及时与办公室联系。")});
        }
        m_counts.notices = notices;

        // The agency's own particulars, the sender on envelopes.
        TableInserter info(m_db, QStringLiteral("tblUserInfo"),
                           {QStringLiteral("UserName"), QStringLiteral("Address"), QStringLiteral("Telephone"),
                            QStringLiteral("Fax"), QStringLiteral("HomePage"), QStringLiteral("Email"),
                            QStringLiteral("PostCode")});
        info.insert({u8("安心家政服务中心"), u8("北京市海淀区学院路 18 号"), QStringLiteral("010-62345678"),
                     QStringLiteral("010-62345679"), QStringLiteral("http://www.anxin-jiazheng.example"),
                     QStringLiteral("service@anxin-jiazheng.example"), QStringLiteral("100083")});
    }

    void log()
    {
        TableInserter ins(m_db, QStringLiteral("tblLog"),
                          {QStringLiteral("LogDateTime"), QStringLiteral("UserID"), QStringLiteral("Operate")});
        const QStringList ops = u8List({"客户业务管理-客户资料", "客户业务管理-业务资料", "客户业务管理-业务资料-保存",
                                        "客户业务管理-日程安排", "系统设置-数据备份", "员工管理-员工档案"});
        const qint64 n = 1000LL * m_scale;
        QDateTime t(m_anchor.addDays(-365), QTime(8, 0));
        const qint64 step = qMax<qint64>(1, 365LL * 24 * 3600 / n);
        for (qint64 i = 0; i < n; ++i) {
            t = t.addSecs(step);
            ins.insert({t.toString(QStringLiteral("yyyy/M/d HH:mm:ss")), owner(), pick(ops)});
        }
        m_counts.logs = n;
    }

    Database &m_db;
    int m_scale;
    QDate m_anchor;
    QRandomGenerator m_rng;
    Counts m_counts;
    QStringList m_owners, m_staffIds, m_shusongIds, m_customerIds, m_names;
    const QStringList m_surnames = u8List({"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "周", "吴", "徐", "孙", "马", "朱", "胡", "郭", "何", "林", "高", "罗"});
    const QStringList m_given = u8List({"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰", "娟", "涛", "明", "超", "秀", "霞", "平", "刚", "桂", "英", "华"});
    const QStringList m_districts = u8List({"东城区", "西城区", "朝阳区", "海淀区", "丰台区", "石景山区"});
    const QStringList m_streets = u8List({"建国路", "复兴路", "学院路", "中关村大街", "安定门外大街", "望京西路", "丰台北路"});
    const QStringList m_natives = u8List({"河北保定", "河南信阳", "安徽阜阳", "四川南充", "山东菏泽", "甘肃天水", "湖南邵阳"});
    const QStringList m_duties = u8List({"业务员", "客服", "培训师", "会计", "经理"});
    const QStringList m_firms = u8List({"华信科技", "京诚物业", "安康医疗", "博远教育", "恒达商贸", "瑞丰置业"});
};

}  // namespace

Counts add(Database &db, int scale, const QDate &anchor)
{
    Transaction tx(db);
    Counts counts = Maker(db, scale, anchor).run();
    tx.commit();
    return counts;
}

int addDocuments(const QString &filesRoot)
{
    struct Doc
    {
        const char *path, *text;
    };
    const Doc docs[] = {
        {"C000001/家政服务合同.txt", "家政服务合同\n甲方：客户\n乙方：家政服务中心\n服务内容：住家保姆，每月结算。\n"},
        {"C000001/客户需求记录.txt", "老人两位，需要做饭、打扫，周末休息一天。\n"},
        {"C000001/服务费报价.csv", "项目,单价,数量\n住家保姆,4800,1\n保洁,60,4\n"},
        {"C000001/合同扫描件/第一页.txt", "合同扫描件的说明：原件存档于办公室文件柜。\n"},
        {"C000002/回访记录.txt", "回访：客户对服务满意，希望续约一年。\n"},
        {"C000002/续约申请.txt", "续约申请：自下月起续约十二个月。\n"},
        {"C000003/保姆面试安排.txt", "面试时间：周三上午十点，地点：公司二楼会议室。\n"},
        {"Operaters/S0001/工作总结.txt", "本月走访客户十二户，新签合同三份。\n"},
        {"Operaters/S0001/培训证书.txt", "家政服务培训结业证书（复印件说明）。\n"},
        {"Plans/本周日程.txt", "周一：合同签订\n周三：保姆面试\n周五：客户回访\n"},
        {"Plans/月度工作计划.txt", "本月重点：老客户回访与续约。\n"},
    };
    const QString root = filesRoot.endsWith(u'/') ? filesRoot : filesRoot + u'/';
    int written = 0;
    for (const Doc &d : docs) {
        const QString path = root + QString::fromUtf8(d.path);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            continue;  // there already: kept as it is
        f.write(d.text);
        ++written;
    }
    return written;
}

namespace {

// A simple drawn portrait: head and shoulders in a shirt of the given colour.
QImage portrait(const QColor &shirt, const QColor &background)
{
    QImage img(240, 300, QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(shirt);
    p.drawEllipse(QRect(30, 190, 180, 200));
    p.setBrush(QColor(240, 205, 170));
    p.drawEllipse(QRect(75, 60, 90, 110));
    p.setBrush(QColor(45, 35, 30));
    p.drawChord(QRect(70, 50, 100, 80), 0, 180 * 16);
    p.end();
    return img;
}

// Photos for `count` records of `table` whose codes `idOf` gives, in their folders under
// `root`; the last one's file is left missing. Returns how many files were written.
int addPhotos(Database &db, const QString &root, const QString &table, const QString &keyField, int count,
              const std::function<QString(int)> &idOf, const QColor &background)
{
    const QColor shirts[] = {QColor(70, 110, 170), QColor(170, 80, 90), QColor(80, 140, 90), QColor(150, 110, 60),
                             QColor(110, 80, 150)};
    int written = 0;
    Transaction tx(db);
    for (int i = 1; i <= count; ++i) {
        const QString id = idOf(i);
        const bool jpeg = i % 2 == 1;
        const QString path = root + id + (jpeg ? QStringLiteral("/photo.jpg") : QStringLiteral("/photo.png"));
        // The last photo was moved away: its path names no file.
        if (i < count) {
            const QImage img = portrait(shirts[(i - 1) % 5], background);
            QDir().mkpath(QFileInfo(path).path());
            if (!QFileInfo::exists(path) && img.save(path, jpeg ? "JPEG" : "PNG"))
                ++written;
        }
        Statement st(db, QStringLiteral("update %1 set Photo = :Photo where %2 = :ID").arg(table, keyField));
        st.bind(QStringLiteral("Photo"), path);
        st.bind(QStringLiteral("ID"), id);
        st.step();
    }
    tx.commit();
    return written;
}

QString filesFolder(const QString &filesRoot, const char *area)
{
    return (filesRoot.endsWith(u'/') ? filesRoot : filesRoot + u'/') + QString::fromUtf8(area);
}

}  // namespace

int addWorkerPhotos(Database &db, const QString &filesRoot)
{
    return addPhotos(db, filesFolder(filesRoot, "Yuangong/"), QStringLiteral("tblYuangong"),
                     QStringLiteral("YuangongID"), 6,
                     [](int i) { return QStringLiteral("Y%1").arg(i, 5, 10, QLatin1Char('0')); }, QColor(225, 232, 240));
}

int addStaffPhotos(Database &db, const QString &filesRoot)
{
    return addPhotos(db, filesFolder(filesRoot, "Operaters/"), QStringLiteral("tblOperaters"),
                     QStringLiteral("OperaterID"), 5,
                     [](int i) { return QStringLiteral("S%1").arg(i, 4, 10, QLatin1Char('0')); }, QColor(236, 230, 218));
}

}  // namespace DemoData
