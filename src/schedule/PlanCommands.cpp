#include "PlanCommands.h"

#include "CustomerPick.h"
#include "DbDateEdit.h"
#include "DbLookupCombo.h"
#include "DbMaskEdit.h"
#include "Dialogs.h"
#include "Messages.h"
#include "PlanPanels.h"
#include "Shell.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uMain.h"
#include "uPlan.h"
#include "uPlanNew.h"
#include "uPlanQuery.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QDir>

namespace PlanCommands {

namespace {

const char *const Log = "客户业务管理-日程安排";

QString logText(const char *button)
{
    return s(Log) + u'-' + s(button);
}

// The datasets a new or changed entry may read through its customer tabs and dialogs.
void openEntryDatasets(bool withCustomers2)
{
    OpenDatasets({dmMain->tblVocation, dmMain->tblCountry, dmMain->tblCustDist, dmMain->tblCustLevel,
                  dmMain->tblCustState, dmMain->tblCustOrigin, dmMain->tblOperateType, dmMain->tblOperateOrigin,
                  dmMain->tblOperateState, dmMain->tblOperaters, dmMain->tblFinanceOrgan, dmMain->tblCustomers});
    if (withCustomers2)
        OpenDatasets({dmMain->tblCustomers2});
    OpenDatasets({dmMain->tblLinkmans, dmMain->tblOperates, dmMain->tblCustomerState, dmMain->tblCustomerAddInfo});
}

// qryPlan with "select * from tblPlan" again; its filter stays. The close posts a pending
// change first: a refused post raises with the text as it was.
void reread()
{
    QueryDataset *plan = dmMain->qryPlan;
    plan->close();
    plan->setSql({s("select * from tblPlan")});
    plan->open();
}

void focusDate()
{
    if (frmPlanNew)
        frmPlanNew->entry()->dateEdit()->setFocus();
}

void showEditor()
{
    if (frmMain)
        frmMain->selectTab(s("业务管理"));
    showEditorPage();
}

// What a required check reads from a line edit or the date edit.
QString shown(QWidget *w)
{
    if (auto *d = qobject_cast<DbDateEdit *>(w))
        return d->displayedText();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text().trimmed();
    return {};
}

void refuse(PlanEntryPanel *panel, const char *field, const char *message)
{
    Messages::warning(panel, s(message));
    panel->editor(s(field))->setFocus();
}

void makePlansFolder()
{
    QDir().mkpath(FilesRoot);
    FileListRoot = RecordFolder(FilesRoot, s("Plans"));
}

}  // namespace

QString typedTime(const QString &stored)
{
    QString t = stored;
    while (!t.isEmpty() && (t.back() == u' ' || t.back() == u':'))
        t.chop(1);
    return t;
}

void openSchedule()
{
    Dataset *c2 = dmMain->tblCustomers2;
    QueryDataset *plan = dmMain->qryPlan;
    // Post what is pending before anything changes: a refusal leaves the page as it was.
    for (Dataset *d : {static_cast<Dataset *>(c2), static_cast<Dataset *>(plan)})
        if (d->isActive() && WindowKit::isEditing(d))
            d->post();
    OpenDatasets({dmMain->tblVocation, dmMain->tblCountry, dmMain->tblCustDist, dmMain->tblCustLevel,
                  dmMain->tblCustState, dmMain->tblCustOrigin, dmMain->tblFinanceOrgan, dmMain->qryCustomers1,
                  dmMain->tblCustomers, c2});
    if (IsSystemUser()) {
        c2->setFiltered(false);
    } else {
        c2->close();
        c2->setFilter(OwnerFilter());
        c2->setFiltered(true);
        c2->open();
    }
    reread();
    makePlansFolder();
}

void insert(bool fromEditor)
{
    WriteLog(logText("新增"));
    openEntryDatasets(true);
    dmMain->qryPlan->append();
    if (!fromEditor)
        showEditor();
    focusDate();
    if (!fromEditor) {
        const QString path = dmMain->qryPlan->field(s("FilePath")).asString();
        QDir().mkpath(FilesRoot);
        FileListRoot = path.isEmpty() ? RecordFolder(FilesRoot, s("Plans")) : path;
    }
}

void modify()
{
    WriteLog(logText("修改"));
    openEntryDatasets(false);
    QueryDataset *plan = dmMain->qryPlan;
    if (!plan->isActive())
        return;
    plan->edit();
    showEditor();
    focusDate();
    makePlansFolder();
}

bool checkEntry(PlanEntryPanel *panel, bool checkLinkman)
{
    Dataset *plan = dmMain->qryPlan;
    if (shown(panel->editor(s("PlanDate"))).isEmpty()) {
        refuse(panel, "PlanDate", "请输入日程安排日期！");
        return false;
    }
    const QString time = typedTime(plan->field(s("PlanTime")).asString());
    if (time.trimmed().isEmpty()) {
        refuse(panel, "PlanTime", "请输入日程安排时间！");
        return false;
    }
    if (time.size() <= 5) {
        refuse(panel, "PlanTime", "请完整输入日程安排时间！");
        return false;
    }
    if (shown(panel->editor(s("Address"))).isEmpty()) {
        refuse(panel, "Address", "请输入日程安排的地点！");
        return false;
    }
    if (plan->field(s("CustID")).asString().trimmed().isEmpty()) {
        refuse(panel, "CustID", "请选择输入客户名称！");
        return false;
    }
    if (checkLinkman && shown(panel->editor(s("Linkman"))).isEmpty()) {
        refuse(panel, "Linkman", "请输入客户联系人名称！");
        return false;
    }
    return true;
}

bool save(PlanEntryPanel *panel)
{
    WriteLog(logText("保存"));
    Dataset *plan = dmMain->qryPlan;
    if (!plan->isActive())
        return false;
    if (!checkEntry(panel, true))
        return false;
    makePlansFolder();
    if (WindowKit::isEditing(plan))
        plan->post();
    return true;
}

void remove(QWidget *parent)
{
    WriteLog(logText("删除"));
    WindowKit::deleteCurrent(parent, dmMain->qryPlan, {}, s("您真的要删除该日程安排记录吗？"));
}

void refresh()
{
    WriteLog(logText("刷新"));
    reread();
}

void query(QWidget *parent)
{
    WriteLog(logText("查询"));
    TfrmPlanQuery::execute(parent);
}

void print(QWidget *parent, bool detailLayout)
{
    WindowKit::print(parent, logText("打印"), s(detailLayout ? "frPlanDetail" : "frPlan"), dmMain->qryPlan);
}

void cancel()
{
    Dataset *plan = dmMain->qryPlan;
    if (plan->isActive() && WindowKit::isEditing(plan))
        plan->cancel();
}

void closeEditor()
{
    Dataset *plan = dmMain->qryPlan;
    if (plan->isActive() && WindowKit::isEditing(plan)) {
        PlanEntryPanel *panel = frmPlanNew->entry();
        if (!Messages::question(panel, s("日程安排尚未保存，保存吗？"), Messages::Answer::Yes)) {
            plan->cancel();
        } else {
            // The contact person is not asked for on this path.
            if (!checkEntry(panel, false))
                return;
            makePlansFolder();
            plan->post();
        }
    }
    if (frmMain)
        frmMain->selectTab(s("业务管理"));
    showListPage();
}

void showListPage()
{
    if (frmMain && frmPlan)
        frmMain->showPage(frmPlan->PnMain);
}

void showEditorPage()
{
    if (frmMain && frmPlanNew)
        frmMain->showPage(frmPlanNew->PnMain);
}

void syncFolder()
{
    makePlansFolder();
}

void followCustomer()
{
    QueryDataset *plan = dmMain->qryPlan;
    if (!plan->isActive() || plan->isEmpty())
        return;
    const QVariant code = plan->field(s("CustID")).value();
    if (code.toString().isEmpty())
        return;
    for (Dataset *c : {static_cast<Dataset *>(dmMain->tblCustomers2), static_cast<Dataset *>(dmMain->tblCustomers)})
        if (c->isActive())
            c->locate(s("CustId"), {code}, Qt::CaseInsensitive);
}

void pickCustomer(QWidget *parent)
{
    CustomerPickCaller = s("日程安排");
    CustomerPickDialog::execute(parent);
}

void sendMail()
{
    Dataset *c2 = dmMain->tblCustomers2;
    if (!c2->isActive() || c2->isEmpty())
        return;
    Shell::open(Shell::mailto(c2->field(s("Email")).asString().trimmed()));
}

void openHomePage()
{
    Dataset *c2 = dmMain->tblCustomers2;
    if (!c2->isActive() || c2->isEmpty())
        return;
    // Only a web address: a path or another scheme stored there opens nothing.
    const QString address = Shell::webAddress(c2->field(s("HomePage")).asString());
    if (!address.isEmpty())
        Shell::open(address);
}

void showCustomer()
{
    OpenDatasets({dmMain->tblCustomers});
}

void showOperate(QWidget *parent)
{
    if (!frmMain || !frmMain->hasOpener(s("TfrmOperateNew1")))
        return;
    Dataset *ops = dmMain->tblOperates;
    OpenDatasets({ops});
    if (!WindowKit::isEditing(ops))
        ops->edit();
    frmMain->openWindow(s("TfrmOperateNew1"), parent);
}

void showState(QWidget *parent)
{
    if (!frmMain || !frmMain->hasOpener(s("TfrmCustStateNew")))
        return;
    Dataset *states = dmMain->tblCustomerState;
    OpenDatasets({states});
    if (!WindowKit::isEditing(states))
        states->edit();
    frmMain->openWindow(s("TfrmCustStateNew"), parent);
}

}  // namespace PlanCommands
