#include "uGathering.h"

#include "DbGrid.h"
#include "ErrorHandler.h"
#include "ListPage.h"
#include "QueryDataset.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uInOutQuery.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QVBoxLayout>

TfrmGathering *frmGathering = nullptr;
TfrmPayment *frmPayment = nullptr;

namespace {

const TfrmInOut::Direction Receivables{true,       "frmGathering", "应收账款", "306",
                                       "frGathering", "已收账款",  "未收账款", "gathering"};
const TfrmInOut::Direction Payables{false,      "frmPayment", "应付账款", "307",
                                    "frPayment", "已付账款",   "未付账款", "Payment"};

}  // namespace

TfrmInOut::TfrmInOut(const Direction &direction, QObject *parent) : QObject(parent), m_direction(direction)
{
    setObjectName(s(direction.objectName));
    PnMain = new QWidget;
    m_panel = PnMain;
    PnMain->setObjectName(s("PnMain"));
    PnMain->setWindowTitle(s(direction.caption));
    auto *layout = new QVBoxLayout(PnMain);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *page = new ListPage;
    layout->addWidget(page);

    const QString log = s("客户业务管理-") + s(direction.caption);
    WindowKit::ToolRow row(page->toolBar(), PnMain, s(direction.rightCode));
    Act_Refresh = row.add("Act_Refresh", s("刷新"), "", "", [this, log] {
        WriteLog(log + s("-刷新"));
        refresh();
    });
    Act_Query = row.add("Act_Query", s("查询"), "Query", "Ctrl+Q", [this, log] {
        WriteLog(log + s("-查询"));
        query_();
    });
    Act_Print = row.add("Act_Print", s("打印"), "Print", "Ctrl+P", [this] { print(); });
    Act_Close = row.add("Act_Close", s("关闭"), "", "", [this] { close(); });

    using C = GridColumn;
    m_grid = page->grid();
    m_grid->setObjectName(direction.receivables ? s("gridGathering") : s("gridPayment"));
    m_grid->setColumns({C::text(s("业务编码"), s("OperateID"), 105), C::text(s("业务标题"), s("OperateTitle"), 150),
                        C::text(s("客户代码"), s("CustID"), 80), C::text(s("客户名称"), s("CustName"), 110),
                        C::centred(s("签约日期"), s("WriteDate"), 95), C::centred(s("币别"), s("CurrID"), 50),
                        C::money(s("合同金额"), s("CompactAmount"), 90), C::money(s("折人民币"), s("RMB"), 90),
                        C::centred(s("截止日期"), s("EndDate"), 95), C::money(s(direction.sumCaption), s("sumRMB"), 90),
                        C::money(s(direction.restCaption), s(direction.restField), 90)});
    m_grid->setDataSource(direction.receivables ? dmMain->dsGathering : dmMain->dsPayment);
    m_grid->setGroupPanelVisible(true);
    m_grid->setExportPermission([code = s(direction.rightCode)] { return HasSubRight(code, s("Print")); });
    m_grid->sortBy(s("OperateID"));
}

TfrmInOut::~TfrmInOut()
{
    // A panel the main window hosts is deleted with it, possibly before this object.
    if (m_panel && !m_panel->parent())
        delete m_panel;
}

QueryDataset *TfrmInOut::query() const
{
    return m_direction.receivables ? dmMain->qryGathering : dmMain->qryPayment;
}

void TfrmInOut::open()
{
    reopen(false, {}, {});
}

bool TfrmInOut::openRange(QDate from, QDate to)
{
    return reopen(true, from, to);
}

bool TfrmInOut::reopen(bool withRange, QDate from, QDate to)
{
    QueryDataset *q = query();
    return ErrorHandler::run(PnMain, [&] {
        q->close();
        q->setSql(TdmMain::inOutSql(m_direction.receivables, withRange));
        q->clearParams();
        if (withRange) {
            // Dates bind at midnight, as the contracts' end dates are stored.
            q->setParam(s("EndDate1"), from);
            q->setParam(s("EndDate2"), to);
        }
        q->open();
    });
}

void TfrmInOut::refresh()
{
    QueryDataset *q = query();
    ErrorHandler::run(PnMain, [q] { q->refresh(); });
}

void TfrmInOut::query_()
{
    InOutQueryCaller = s(m_direction.caption);
    TfrmInOutQuery::execute(PnMain);
}

void TfrmInOut::print()
{
    WindowKit::print(PnMain, s("客户业务管理-") + s(m_direction.caption) + s("-打印"), s(m_direction.layout), query());
}

void TfrmInOut::close()
{
    if (frmMain)
        frmMain->showSchedulePage();
}

TfrmInOut *TfrmInOut::byCaller(const QString &caller)
{
    for (TfrmInOut *w : {static_cast<TfrmInOut *>(frmGathering), static_cast<TfrmInOut *>(frmPayment)})
        if (w && caller == s(w->direction().caption))
            return w;
    return nullptr;
}

TfrmGathering::TfrmGathering(QObject *parent) : TfrmInOut(Receivables, parent)
{
    frmGathering = this;
}

TfrmPayment::TfrmPayment(QObject *parent) : TfrmInOut(Payables, parent)
{
    frmPayment = this;
}

TfrmGathering::~TfrmGathering()
{
    if (frmGathering == this)
        frmGathering = nullptr;
}

TfrmPayment::~TfrmPayment()
{
    if (frmPayment == this)
        frmPayment = nullptr;
}
