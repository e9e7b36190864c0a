#include "udmMain.h"

#include "ConnectionString.h"
#include "ContactRules.h"
#include "CustomerRules.h"
#include "OperationRules.h"
#include "SendingRules.h"
#include "DatabaseConnector.h"
#include "DatabaseFile.h"
#include "FileSteps.h"
#include "Utf8.h"
#include "uPublic.h"

TdmMain *dmMain = nullptr;

TableDataset *TdmMain::table(const char *name, const char *tableName, const char *orderBy)
{
    return new TableDataset(nullptr, s(name), s(tableName), s(orderBy), this);
}

QueryDataset *TdmMain::query(const char *name, const QStringList &sql)
{
    return new QueryDataset(nullptr, s(name), sql, this);
}

DataSource *TdmMain::source(const char *name, Dataset *dataset)
{
    return new DataSource(s(name), dataset, this);
}

QStringList TdmMain::inOutSql(bool receivables, bool withDateRange)
{
    const QString direction = receivables ? s("收款") : s("付款");
    QStringList sql{
        s("SELECT tblOperates.OperateID,tblOperates.OperateTitle,tblOperates.CustID,tblCustomers.CustName, "),
        s("tblOperates.WriteDate,tblOperates.CurrID,tblOperates.CompactAmount,tblOperates.RMB,"),
        receivables ? s("tblOperates.EndDate,sum(tblOperateDetail.RMB) as sumRMB,(tblOperates.RMB-sum(tblOperateDetail.RMB)) as gathering  ")
                    : s("tblOperates.EndDate,sum(tblOperateDetail.RMB) as sumRMB,(tblOperates.RMB-sum(tblOperateDetail.RMB)) as Payment  "),
        s(" FROM (tblOperates Inner JOIN tblOperateDetail ON tblOperates.OperateID = tblOperateDetail.OperateID) "),
        s(" INNER JOIN tblCustomers ON tblOperates.CustID = tblCustomers.CustId "),
        withDateRange ? s(" where (tblOperates.InorOut='%1') and (tblOperates.EndDate Between :EndDate1 and :EndDate2)").arg(direction)
                      : s(" where (tblOperates.InorOut='%1')").arg(direction),
        s(" group by tblOperates.OperateID,tblOperates.OperateTitle,tblOperates.CustID,tblCustomers.CustName,"),
        s(" tblOperates.WriteDate,tblOperates.CurrID,tblOperates.CompactAmount,tblOperates.RMB,tblOperates.EndDate"),
    };
    return sql;
}

TdmMain::TdmMain(QObject *parent) : QObject(parent)
{
    setObjectName(s("dmMain"));
    dmMain = this;

    // Code tables first: other datasets look names up in them.
    tblCountry = table("tblCountry", "tblCountry");
    tblCustDist = table("tblCustDist", "tblCustDist");
    tblCustLevel = table("tblCustLevel", "tblCustLevel");
    tblCustState = table("tblCustState", "tblCustState");
    tblCustOrigin = table("tblCustOrigin", "tblCustOrigin");
    tblVocation = table("tblVocation", "tblVocation");
    tblFinanceOrgan = table("tblFinanceOrgan", "tblFinanceOrgan");
    tblCurrencyRate = table("tblCurrencyRate", "tblCurrencyRate");
    tblOperateType = table("tblOperateType", "tblOperateType");
    tblOperateOrigin = table("tblOperateOrigin", "tblOperateOrigin");
    tblOperateState = table("tblOperateState", "tblOperateState");
    tblDepartment = table("tblDepartment", "tblDepartment");
    tblColor = table("tblColor", "tblColor");
    tblDuty = table("tblDuty", "tblDuty");
    tblDisk = table("tblDisk", "tblDisk");
    tblCity = table("tblCity", "tblCity");
    tblGongzhong = table("tblGongzhong", "tblGongzhong");
    tblJineng = table("tblJineng", "tblJineng");
    tblTijian = table("tblTijian", "tblTijian", "TJID");

    tblCustomers = table("tblCustomers", "tblCustomers");
    tblCustomers2 = table("tblCustomers2", "tblCustomers");
    qryCustomers1 = query("qryCustomers1", {s("select * from tblCustomers")});
    qryCustLookup = query("qryCustLookup", {s("select custID from tblCustomers")});
    tblCustomerAddInfo = table("tblCustomerAddInfo", "tblCustomerAddInfo");
    tblCustomerState = table("tblCustomerState", "tblCustomerState");
    tblLinkmans = table("tblLinkmans", "tblLinkmans");
    tblLinkmans2 = table("tblLinkmans2", "tblLinkmans");
    tblLinkmansLookup = table("tblLinkmansLookup", "tblLinkmans");
    qryLinkmans1 = query("qryLinkmans1", {s("select * from tblLinkmans")});
    qryLinkmans3 = query("qryLinkmans3", {s("select * from tblLinkmans")});

    tblOperates = table("tblOperates", "tblOperates");
    tblOperates2 = table("tblOperates2", "tblOperates");
    qryOperates1 = query("qryOperates1", {s("select * from tblOperates")});
    qryOperateInfo = query("qryOperateInfo", {s("select * from tblOperates")});
    tblOperateDetail = table("tblOperateDetail", "tblOperateDetail");
    tblOperateDetail1 = table("tblOperateDetail1", "tblOperateDetail");
    qryGathering = query("qryGathering", inOutSql(true, false));
    qryPayment = query("qryPayment", inOutSql(false, false));

    tblOperaters = table("tblOperaters", "tblOperaters");
    tblOperatersLookup = table("tblOperatersLookup", "tblOperaters");
    tblOperaterTrack = table("tblOperaterTrack", "tblCustomerState");
    qryOperaterTrack = query("qryOperaterTrack", {s("select * from tblCustomerState")});
    qryAssignUpdate = query("qryAssignUpdate");
    tblShusong = table("tblShusong", "tblShusong", "ShusongID");
    tblShusong1 = table("tblShusong1", "tblShusong", "ShusongID");
    tblShusongYJ = table("tblShusongYJ", "tblShusongYJ");
    tblYuangong = table("tblYuangong", "tblYuangong");
    tblYuangong1 = table("tblYuangong1", "tblYuangong", "CustID");

    qryPlan = query("qryPlan", {s("select * from tblPlan")});
    tblBoard = table("tblBoard", "tblBoard");
    tblUser = table("tblUser", "tblUser");
    tblUserRight = table("tblUserRight", "tblUserRight");
    tblRight = table("tblRight", "tblRight");
    qryDelUserRight = query("qryDelUserRight", {s("delete * from tblUserRight"), s("where UserID=:userID")});
    tblLog = table("tblLog", "tblLog");
    qryLogClear = query("qryLogClear", {s("delete * from tblLog")});
    tblUserInfo = table("tblUserInfo", "tblUserInfo");
    qryPubQuery = query("qryPubQuery");

    qryChartRegion = query("qryChartRegion");
    qryChartTime = query("qryChartTime");
    qryChartLevel = query("qryChartLevel");
    qryChartCustOrigin = query("qryChartCustOrigin");
    qryChartCustState = query("qryChartCustState");
    qryChartVocation = query("qryChartVocation");
    qryChartOperateOrigin = query("qryChartOperateOrigin");
    qryChartOperateType = query("qryChartOperateType");
    qryChartOperateSort = query("qryChartOperateSort");
    qryChartCustomerSort = query("qryChartCustomerSort");
    qryChartOperaterSort = query("qryChartOperaterSort");
    qryChartPayment = query("qryChartPayment");
    qryChartGathering = query("qryChartGathering");
    qryChartInOut = query("qryChartInOut");

    // Detail links: each follows its master's current row.
    for (Dataset *d : {static_cast<Dataset *>(tblLinkmans), static_cast<Dataset *>(tblOperates),
                       static_cast<Dataset *>(tblYuangong1), static_cast<Dataset *>(tblCustomerState),
                       static_cast<Dataset *>(tblCustomerAddInfo)})
        d->setMaster(tblCustomers, s("CustId"), s("CustID"));
    tblLinkmans2->setMaster(tblCustomers2, s("CustId"), s("CustID"));
    tblOperateDetail->setMaster(tblOperates2, s("OperateID"), s("OperateID"));
    tblShusongYJ->setMaster(tblShusong, s("ShusongID"), s("ShusongID"));

    tblCustomers->setBeforePost(CustomerRules::beforePost(true));
    tblCustomers2->setBeforePost(CustomerRules::beforePost(false));
    qryLinkmans1->setBeforePost(ContactRules::beforePost());
    tblLinkmans->setBeforePost(ContactRules::beforePost());
    // A record keeps its code while items name it; a new list row without a code is dropped.
    tblOperates2->setBeforePost(OperationRules::beforePost(true));
    tblOperates->setBeforePost(OperationRules::beforePost(false));
    tblOperateDetail->setBeforePost(OperationRules::itemBeforePost());
    tblOperateDetail1->setBeforePost(OperationRules::itemBeforePost());
    tblShusong->setBeforePost(SendingRules::beforePost());
    tblOperaters->setBeforePost([](Dataset &ds) { return ds.dropKeylessInsert(s("OperaterID")); });

    declareLookups();

    // The unrestricted contact list re-reads (lazily) whenever a contact cursor writes.
    for (Dataset *d : {static_cast<Dataset *>(tblLinkmans), static_cast<Dataset *>(tblLinkmans2),
                       static_cast<Dataset *>(qryLinkmans1), static_cast<Dataset *>(qryLinkmans3)}) {
        const auto reread = [this] {
            if (tblLinkmansLookup->isActive())
                tblLinkmansLookup->refresh();
        };
        connect(d, &Dataset::rowInserted, this, reread);
        connect(d, &Dataset::rowUpdated, this, reread);
        connect(d, &Dataset::rowRemoved, this, reread);
    }

    // The whole staff list re-reads (lazily) whenever a staff row is written.
    {
        const auto reread = [this] {
            if (tblOperatersLookup->isActive())
                tblOperatersLookup->refresh();
        };
        connect(tblOperaters, &Dataset::rowInserted, this, reread);
        connect(tblOperaters, &Dataset::rowUpdated, this, reread);
        connect(tblOperaters, &Dataset::rowRemoved, this, reread);
    }

    dsCustomers = source("dsCustomers", tblCustomers);
    dsCustomers2 = source("dsCustomers2", tblCustomers2);
    dsCustomers1 = source("dsCustomers1", qryCustomers1);
    dsCustomerAddInfo = source("dsCustomerAddInfo", tblCustomerAddInfo);
    dsCustomerState = source("dsCustomerState", tblCustomerState);
    dsLinkmans = source("dsLinkmans", tblLinkmans);
    dsLinkmans2 = source("dsLinkmans2", tblLinkmans2);
    dsLinkmans1 = source("dsLinkmans1", qryLinkmans1);
    dsLinkmans3 = source("dsLinkmans3", qryLinkmans3);
    dsOperates = source("dsOperates", tblOperates);
    dsOperates2 = source("dsOperates2", tblOperates2);
    dsOperateDetail = source("dsOperateDetail", tblOperateDetail);
    dsGathering = source("dsGathering", qryGathering);
    dsPayment = source("dsPayment", qryPayment);
    dsOperaters = source("dsOperaters", tblOperaters);
    dsOperaterTrack = source("dsOperaterTrack", tblOperaterTrack);
    dsYuangong = source("dsYuangong", tblYuangong);
    dsYuangong1 = source("dsYuangong1", tblYuangong1);
    dsShusong = source("dsShusong", tblShusong);
    dsShusong1 = source("dsShusong1", tblShusong1);
    dsShusongYJ = source("dsShusongYJ", tblShusongYJ);
    dsGongzhong = source("dsGongzhong", tblGongzhong);
    dsJineng = source("dsJineng", tblJineng);
    dsTijian = source("dsTijian", tblTijian);
    dsPlan = source("dsPlan", qryPlan);
    dsBoard = source("dsBoard", tblBoard);
    dsUser = source("dsUser", tblUser);
    dsUserRight = source("dsUserRight", tblUserRight);
    dsLog = source("dsLog", tblLog);
    dsUserInfo = source("dsUserInfo", tblUserInfo);
    dsCountry = source("dsCountry", tblCountry);
    dsCustDist = source("dsCustDist", tblCustDist);
    dsCustLevel = source("dsCustLevel", tblCustLevel);
    dsCustState = source("dsCustState", tblCustState);
    dsCustOrigin = source("dsCustOrigin", tblCustOrigin);
    dsVocation = source("dsVocation", tblVocation);
    dsFinanceOrgan = source("dsFinanceOrgan", tblFinanceOrgan);
    dsCurrencyRate = source("dsCurrencyRate", tblCurrencyRate);
    dsOperateType = source("dsOperateType", tblOperateType);
    dsOperateOrigin = source("dsOperateOrigin", tblOperateOrigin);
    dsOperateState = source("dsOperateState", tblOperateState);
    dsDepartment = source("dsDepartment", tblDepartment);
    dsColor = source("dsColor", tblColor);
}

void TdmMain::declareLookups()
{
    for (TableDataset *c : {tblCustomers, tblCustomers2}) {
        c->addLookup(s("CountryName"), s("CountryID"), tblCountry, s("CountryID"), s("CountryName"));
        c->addLookup(s("DistName"), s("DistID"), tblCustDist, s("DistID"), s("DistName"));
        c->addLookup(s("VocationName"), s("VocationID"), tblVocation, s("VocationId"), s("VocationName"));
        c->addLookup(s("OriginName"), s("OriginID"), tblCustOrigin, s("OriginID"), s("OriginName"));
        c->addLookup(s("Operater"), s("OperaterID"), tblOperatersLookup, s("OperaterID"), s("Name"));
        c->addLookup(s("LevelName"), s("LevelID"), tblCustLevel, s("LevelID"), s("LevelName"));
    }
    tblCustomers->addLookup(s("State"), s("StateId"), tblCustState, s("StateID"), s("StateName"));
    tblCustomers2->addLookup(s("StateName"), s("StateId"), tblCustState, s("StateID"), s("StateName"));

    qryPlan->addLookup(s("CustName"), s("CustID"), tblCustomers2, s("CustId"), s("CustName"), 50);
    tblLinkmans->addLookup(s("CustName"), s("CustID"), tblCustomers2, s("CustId"), s("CustName"), 50);
    qryLinkmans1->addLookup(s("CustName"), s("CustID"), tblCustomers2, s("CustId"), s("CustName"), 50);
    qryLinkmans3->addLookup(s("CustName"), s("CustID"), tblCustomers2, s("CustId"), s("CustName"), 100);
    qryLinkmans3->addLookup(s("PostCode"), s("CustID"), tblCustomers2, s("CustId"), s("PostCode"));
    qryLinkmans3->addLookup(s("Address"), s("CustID"), tblCustomers2, s("CustId"), s("Address"), 100);
    tblOperaters->addLookup(s("Department"), s("DepartmentID"), tblDepartment, s("DepartmentID"), s("DepartmentName"));

    for (TableDataset *o : {tblOperates, tblOperates2}) {
        o->addLookup(s("CustName"), s("CustID"), tblCustomers2, s("CustId"), s("CustName"), 50);
        o->addLookup(s("LinkCustName"), s("LinkCustID"), tblCustomers2, s("CustId"), s("CustName"));
        o->addLookup(s("OriginName"), s("OriginId"), tblOperateOrigin, s("OriginID"), s("OriginName"));
        o->addLookup(s("TypeName"), s("TypeID"), tblOperateType, s("TypeID"), s("TypeName"));
        o->addLookup(s("OperaterName"), s("OperaterID"), tblOperatersLookup, s("OperaterID"), s("Name"));
        o->addLookup(s("OperateStateName"), s("OperateStateID"), tblOperateState, s("OperateStateID"),
                     s("OperateStateName"));
        o->addLookup(s("CurrName"), s("CurrID"), tblCurrencyRate, s("CurrID"), s("CurrName"));
    }
    tblOperates->addLookup(s("LinkmanName"), s("LinkmanID"), tblLinkmans, s("LinkmanID"), s("Name"));
    tblOperates2->addLookup(s("LinkmanName"), s("LinkmanID"), tblLinkmansLookup, s("LinkmanID"), s("Name"));

    tblUser->addLookup(s("DeptName"), s("DeptID"), tblDepartment, s("DepartmentID"), s("DepartmentName"));
    for (TableDataset *y : {tblYuangong, tblYuangong1}) {
        y->addLookup(s("Department"), s("DepartmentID"), tblDepartment, s("DepartmentID"), s("DepartmentName"));
        y->addLookup(s("GongzhongName"), s("GongzhongID"), tblGongzhong, s("GongzhongID"), s("GongzhongName"));
        y->addLookup(s("ShusongName"), s("ShusongID"), tblShusong1, s("ShusongID"), s("ShusongName"), 50);
        y->addLookup(s("CustName"), s("CustID"), tblCustomers2, s("CustId"), s("CustName"), 50);
        y->addLookup(s("LevelName"), s("LevelID"), tblJineng, s("LevelID"), s("LevelName"), 50);
        y->addLookup(s("TJMS"), s("TJID"), tblTijian, s("TJID"), s("TJMS"), 50);
    }
    tblOperaterTrack->addLookup(s("CustName"), s("CustID"), tblCustomers2, s("CustId"), s("CustName"), 50);
    tblOperaterTrack->addLookup(s("Operater"), s("CustID"), tblCustomers2, s("CustId"), s("Operater"), 50);
}

TdmMain::~TdmMain()
{
    try {
        disconnectDatabase();
    } catch (const DatasetError &) {
        // Ending the program: a change that cannot be posted now is lost either way.
    }
    if (dmMain == this)
        dmMain = nullptr;
}

bool TdmMain::connectDatabase(const QString &appDir)
{
    disconnectDatabase();
    DatabaseConnector::Result r = DatabaseConnector::connect(appDir);
    m_databasePath = r.databasePath;
    m_readOnly = r.readOnly;
    if (!r.database) {
        m_failure = r.failure;
        return false;
    }
    m_failure.clear();
    try {
        attachDatabase(std::move(r.database));
    } catch (const std::exception &e) {
        // A file that opens but cannot give the datasets every window expects (a damaged
        // page, a missing table) is a failed connection like any other.
        m_failure = QString::fromLocal8Bit(e.what());
        if (const auto *d = dynamic_cast<const DatasetError *>(&e))
            m_failure = d->message();
        else if (const auto *d = dynamic_cast<const DbError *>(&e))
            m_failure = d->message();
        try {
            disconnectDatabase();
        } catch (const std::exception &) {
            m_database.reset();  // nothing was changed yet: dropping the connection loses nothing
        }
        m_failure += DatabaseConnector::resetServerFile(appDir);
        return false;
    }
    return true;
}

void TdmMain::attachDatabase(std::unique_ptr<Database> db)
{
    disconnectDatabase();
    m_database = std::move(db);
    for (Dataset *d : findChildren<Dataset *>())
        d->setDatabase(m_database.get());
    afterConnect();
}

void TdmMain::disconnectDatabase()
{
    if (!m_database)
        return;
    const auto all = findChildren<Dataset *>();
    for (Dataset *d : all)
        d->close();
    for (Dataset *d : all)
        d->setDatabase(nullptr);
    m_database.reset();
}

void TdmMain::afterConnect()
{
    OpenDatasets({tblCountry, tblCustDist, tblCustLevel, tblCustState, tblCustOrigin, tblVocation, tblFinanceOrgan,
                  tblCurrencyRate, tblOperateType, tblOperateOrigin, tblOperateState, tblBoard, tblLinkmans2, qryCustomers1,
                  tblOperates2, tblCustomers2, tblOperaters, tblLinkmansLookup, tblOperatersLookup});
}

namespace {

QString reasonOf(const std::exception &e)
{
    if (const auto *d = dynamic_cast<const DbError *>(&e))
        return d->message();
    if (const auto *d = dynamic_cast<const DatasetError *>(&e))
        return d->message();
    return QString::fromLocal8Bit(e.what());
}

void removeQuietly(const QString &path)
{
    try {
        FileSteps::remove(path);
    } catch (const DbError &) {
        // A leftover temporary file harms nothing; the first reason is the one to show.
    }
}

}  // namespace

TdmMain::RestoreResult TdmMain::restoreFrom(const QString &chosen, const QString &livePath, const QString &datedCopy)
{
    using Outcome = RestoreResult::Outcome;
    // What the right tests and the schedule read is open on whichever path the restore ends.
    const auto settle = [this](RestoreResult result) {
        if (!m_database)
            return result;
        try {
            tblUserRight->close();
            tblUserRight->open();
            if (!qryPlan->isActive())
                qryPlan->open();
        } catch (const std::exception &e) {
            if (result.outcome == Outcome::Restored)
                result.outcome = Outcome::Failed;
            result.reason += (result.reason.isEmpty() ? QString() : QStringLiteral("；")) + reasonOf(e);
        }
        return result;
    };
    if (DatabaseFile::sameFile(chosen, livePath) || (m_database && DatabaseFile::sameFile(chosen, m_database->path())))
        return settle({Outcome::LiveFile, {}});
    const QByteArray key = ConnectionString::password(ConnectionString::build(livePath)).toUtf8();

    // The chosen file is copied beside the live one and checked there: it is never opened itself.
    const QString incoming = FileSteps::temporaryBeside(livePath);
    try {
        FileSteps::copy(chosen, incoming);
        DatabaseFile::check(incoming, key);
    } catch (const std::exception &e) {
        removeQuietly(incoming);
        return settle({Outcome::InvalidFile, reasonOf(e)});
    }

    const auto all = findChildren<Dataset *>();
    try {
        for (Dataset *d : all)
            if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
                d->post();
    } catch (...) {
        removeQuietly(incoming);
        throw;
    }
    QList<Dataset *> wasOpen;
    for (Dataset *d : all)
        if (d->isActive())
            wasOpen << d;

    RestoreResult result;
    const QString aside = livePath + QStringLiteral(".before-restore");
    bool movedAside = false;
    disconnectDatabase();
    try {
        DatabaseFile::copyIfMissing(livePath, datedCopy);
        FileSteps::rename(livePath, aside);
        movedAside = true;
        FileSteps::rename(incoming, livePath);
        FileSteps::check(FileSteps::Step::Open, livePath);
        attachDatabase(Database::open(livePath, key));
        m_databasePath = livePath;
    } catch (const std::exception &e) {
        result = {Outcome::Failed, reasonOf(e)};
        try {
            disconnectDatabase();
        } catch (const std::exception &) {
            m_database.reset();  // nothing was changed in the new file
        }
        try {
            if (movedAside)
                FileSteps::rename(aside, livePath);  // over the new file, when it got there
            removeQuietly(incoming);
            attachDatabase(Database::open(livePath, key));
        } catch (const std::exception &again) {
            result.reason += QStringLiteral("；") + reasonOf(again);
        }
    }
    if (!m_database)
        return result;

    // Every dataset open before is open again, its filter and statement as they were.
    for (Dataset *d : wasOpen) {
        try {
            if (!d->isActive())
                d->open();
        } catch (const std::exception &e) {
            if (result.outcome == Outcome::Restored)
                result.outcome = Outcome::Failed;
            result.reason += (result.reason.isEmpty() ? QString() : QStringLiteral("；")) + reasonOf(e);
        }
    }
    return settle(result);
}
