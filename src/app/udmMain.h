#pragma once

#include "DataSource.h"
#include "Database.h"
#include "QueryDataset.h"
#include "TableDataset.h"

#include <QObject>
#include <memory>

// The data module: the one database connection and every shared dataset and data source.
class TdmMain : public QObject
{
    Q_OBJECT

public:
    explicit TdmMain(QObject *parent = nullptr);
    ~TdmMain() override;

    // Reads Server.txt under appDir and opens the database; on failure Server.txt is
    // reset to the default path and false is returned with the reason in failure().
    bool connectDatabase(const QString &appDir);
    // Uses an already opened database (restore, tests).
    void attachDatabase(std::unique_ptr<Database> db);
    // Closes every dataset (posting pending changes) and the connection.
    void disconnectDatabase();
    Database *database() const { return m_database.get(); }
    QString failure() const { return m_failure; }
    // The last connect found the file read-only: Server.txt was left alone.
    bool databaseIsReadOnly() const { return m_readOnly; }
    QString databasePath() const { return m_databasePath; }

    // Opens, in order, the datasets every window expects open after connecting.
    void afterConnect();

    struct RestoreResult
    {
        enum class Outcome { Restored, LiveFile, InvalidFile, Failed };
        Outcome outcome = Outcome::Restored;
        QString reason;  // why the file was refused or the swap failed
    };
    // Replaces the live database file by a copy of `chosen`. The copy is checked first
    // (nothing is touched when it fails); then pending edits are posted (a failed post
    // raises with nothing closed), the connection closes, `datedCopy` is made when
    // missing, the live file becomes livePath + ".before-restore" and the copy takes its
    // place, and the connection opens it with the key. A failure after the close puts
    // the old file back and reopens it. Either way every dataset open before is open
    // again, tblUserRight is re-read and qryPlan is open.
    RestoreResult restoreFrom(const QString &chosen, const QString &livePath, const QString &datedCopy);

    // Customers and contacts
    TableDataset *tblCustomers, *tblCustomers2, *tblCustomerAddInfo, *tblCustomerState, *tblLinkmans, *tblLinkmans2;
    QueryDataset *qryCustomers1, *qryCustLookup, *qryLinkmans1, *qryLinkmans3;
    // Business records
    TableDataset *tblOperates, *tblOperates2, *tblOperateDetail, *tblOperateDetail1;
    QueryDataset *qryOperates1, *qryOperateInfo, *qryGathering, *qryPayment;
    // Staff and workers
    TableDataset *tblOperaters, *tblOperaterTrack, *tblYuangong, *tblYuangong1, *tblShusong, *tblShusong1,
        *tblShusongYJ, *tblGongzhong, *tblJineng, *tblTijian;
    QueryDataset *qryOperaterTrack, *qryAssignUpdate;
    // Schedule, notices, users, log
    QueryDataset *qryPlan, *qryDelUserRight, *qryLogClear, *qryPubQuery;
    TableDataset *tblBoard, *tblUser, *tblUserRight, *tblRight, *tblLog, *tblUserInfo;
    // Code tables
    TableDataset *tblCountry, *tblCustDist, *tblCustLevel, *tblCustState, *tblCustOrigin, *tblVocation,
        *tblFinanceOrgan, *tblCurrencyRate, *tblOperateType, *tblOperateOrigin, *tblOperateState, *tblDepartment,
        *tblColor, *tblDuty, *tblDisk, *tblCity;
    // Chart analyses
    QueryDataset *qryChartRegion, *qryChartTime, *qryChartLevel, *qryChartCustOrigin, *qryChartCustState,
        *qryChartVocation, *qryChartOperateOrigin, *qryChartOperateType, *qryChartOperateSort, *qryChartCustomerSort,
        *qryChartOperaterSort, *qryChartPayment, *qryChartGathering, *qryChartInOut;
    // Every contact, unrestricted: the display source of tblOperates2.LinkmanName.
    TableDataset *tblLinkmansLookup;
    // Every staff member, whatever the staff query left in tblOperaters: the display source of
    // the Operater / OperaterName lookups.
    TableDataset *tblOperatersLookup;

    // Data sources the windows bind to
    DataSource *dsCustomers, *dsCustomers2, *dsCustomers1, *dsCustomerAddInfo, *dsCustomerState, *dsLinkmans,
        *dsLinkmans2, *dsLinkmans1, *dsLinkmans3, *dsOperates, *dsOperates2, *dsOperateDetail, *dsGathering,
        *dsPayment, *dsOperaters, *dsOperaterTrack, *dsYuangong, *dsYuangong1, *dsShusong, *dsShusong1,
        *dsShusongYJ, *dsGongzhong, *dsJineng, *dsTijian, *dsPlan, *dsBoard, *dsUser, *dsUserRight, *dsLog,
        *dsUserInfo, *dsCountry, *dsCustDist, *dsCustLevel, *dsCustState, *dsCustOrigin, *dsVocation,
        *dsFinanceOrgan, *dsCurrencyRate, *dsOperateType, *dsOperateOrigin, *dsOperateState, *dsDepartment, *dsColor;

    // The statement of the receivables ("收款") or payables ("付款") list, as lines.
    static QStringList inOutSql(bool receivables, bool withDateRange);

private:
    TableDataset *table(const char *name, const char *table, const char *orderBy = "");
    QueryDataset *query(const char *name, const QStringList &sql = {});
    DataSource *source(const char *name, Dataset *dataset);
    void declareLookups();

    std::unique_ptr<Database> m_database;
    QString m_failure;
    QString m_databasePath;
    bool m_readOnly = false;
};

// The one data module of the run.
extern TdmMain *dmMain;
