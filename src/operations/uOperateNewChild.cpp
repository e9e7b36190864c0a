#include "uOperateNewChild.h"

#include "DbComboBox.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbLookupCombo.h"
#include "DbNavigator.h"
#include "DbNumberEdit.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FieldLink.h"
#include "FocusChain.h"
#include "Messages.h"
#include "OperationForm.h"
#include "OperationRules.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QFrame>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

bool pending()
{
    Dataset *items = dmMain->tblOperateDetail;
    return items->isActive() && WindowKit::isEditing(items);
}

}  // namespace

TfrmOperateNewChild::TfrmOperateNewChild(QWidget *parent) : RecordDialog(parent)
{
    setObjectName(s("frmOperateNewChild"));
    setWindowTitle(s("业务子项"));
    Dataset *items = dmMain->tblOperateDetail;
    DataSource *src = dmMain->dsOperateDetail;
    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    layout->addLayout(left, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(s("业务子项："), this));
    m_navigator = new DbNavigator(this);
    m_navigator->setObjectName(s("navOperateDetail"));
    m_navigator->bind(src);
    // A pending item is stored checked before the navigator leaves it.
    m_navigator->setBeforeMove([this] { return !pending() || save(); });
    top->addWidget(m_navigator);
    top->addStretch(1);
    left->addLayout(top);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    int row = 0;
    const auto place = [&](const char *label, const char *field, QWidget *w, QWidget *shown = nullptr) {
        w->setObjectName(s("ed") + s(field));
        auto *l = new QLabel(s(label), this);
        l->setBuddy(w);
        grid->addWidget(l, row, 0);
        grid->addWidget(shown ? shown : w, row, 1);
        ++row;
        m_editors.insert(s(field).toLower(), w);
        m_order << w;
    };
    const auto number = [&](const char *field, bool readOnly) {
        auto *n = new DbNumberEdit(this);
        n->bind(src, s(field));
        if (readOnly) {
            n->setDecimals(2);
            n->setReadOnly(true);
            n->setCalculatorVisible(false);
        }
        return n;
    };
    auto *code = new DbEdit(this);
    code->bind(src, s("DetailNo"));
    auto *codeRow = new QWidget(this);
    auto *codeLayout = new QHBoxLayout(codeRow);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    codeLayout->addWidget(code, 1);
    codeLayout->addWidget(new QLabel(s("（请输入数字编码）"), codeRow));
    place("子项编号：", "DetailNo", code, codeRow);
    auto *date = new DbDateEdit(this);
    date->bind(src, s("OperateDate"));
    place("发生日期：", "OperateDate", date);
    auto *title = new DbEdit(this);
    title->bind(src, s("DTitle"));
    place("子项主题：", "DTitle", title);
    auto *kind = new DbComboBox(this);
    kind->addItems({s("收入"), s("支出"), s("业务联系"), s("拜访"), s("招待")});
    kind->bind(src, s("InOut"));
    place("收支描述：", "InOut", kind);
    auto *currency = new DbLookupCombo(this);
    currency->setList(dmMain->dsCurrencyRate, s("CurrID"), s("CurrName"));
    currency->bind(src, s("CurrID"));
    auto *currencyRow = new QWidget(this);
    auto *currencyLayout = new QHBoxLayout(currencyRow);
    currencyLayout->setContentsMargins(0, 0, 0, 0);
    currencyLayout->addWidget(currency, 1);
    m_rate = new QPushButton(s("汇率查询"), currencyRow);
    m_rate->setObjectName(s("btnCurrencyRate"));
    m_rate->setAutoDefault(false);
    currencyLayout->addWidget(m_rate);
    place("币    别：", "CurrID", currency, currencyRow);
    place("单    价：", "Price", number("Price", false));
    DbNumberEdit *amount = number("Amount", false);
    place("数    量：", "Amount", amount);
    place("总　　计：", "DTotal", number("DTotal", true));
    place("折人民币：", "RMB", number("RMB", true));
    auto *memo = new DbEdit(this);
    memo->bind(src, s("Memo"));
    place("描　　述：", "Memo", memo);
    grid->setColumnStretch(1, 1);
    left->addLayout(grid);
    left->addStretch(1);
    FocusChain::install(m_order, this);

    // The button column stands apart from the fields.
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::VLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);
    auto *bar = new QToolBar(this);
    bar->setObjectName(s("dialogButtons"));
    bar->setOrientation(Qt::Vertical);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    WindowKit::ToolRow buttons(bar, this, QString());
    Act_Add = buttons.add("Act_Add", s("新增"), "", "Ctrl+A", [this, items] {
        // The pending item is stored first; a failed check or post keeps the window on it.
        if (pending() && !save())
            return;
        OpenDatasets({dmMain->tblCurrencyRate, items});
        items->append();
        editor(s("DetailNo"))->setFocus();
    });
    Act_Save = buttons.add("Act_Save", s("保存"), "", "Ctrl+S", [] { return pending(); }, [this] { save(); });
    Act_Del = buttons.add("Act_Del", s("删除"), "", "", [this, items] {
        if (!items->isActive())
            return;
        if (items->state() == Dataset::State::Insert) {
            if (Messages::confirmDelete(this, s("您真的要删除该业务子项记录吗？")))
                items->cancel();
            return;
        }
        if (items->isEmpty() || !Messages::confirmDelete(this, s("您真的要删除该业务子项记录吗？")))
            return;
        if (items->state() == Dataset::State::Edit)
            items->cancel();
        items->remove();
    });
    Act_Close = buttons.add("Act_Close", s("关闭"), "", "", [this] { closeProcedure(); });
    layout->addWidget(bar);

    setPending(items, s("业务子项资料尚未保存，保存吗？"), [this] { return save(); });
    m_amountEdit = amount->lineEdit();
    m_amountEdit->installEventFilter(this);
    connect(items, &Dataset::fieldChanged, this, [this, items](int field) {
        if (field == items->fieldIndex(s("CurrID")))
            recompute();
    });
    connect(m_rate, &QPushButton::clicked, this, [this] {
        if (frmMain)
            frmMain->openWindow(s("TfrmCurrencyRate"), this);
    });
    adjustSize();
    resize(sizeHint().expandedTo(QSize(520, 0)));
}

int TfrmOperateNewChild::execute(QWidget *parent)
{
    TfrmOperateNewChild dialog(parent);
    return Dialogs::showModal(&dialog);
}

bool TfrmOperateNewChild::checkRequired()
{
    static const struct
    {
        const char *field;
        const char *message;
    } list[] = {{"DetailNo", "请输入子项编号！"},
                {"OperateDate", "请选择输入业务子项发生日期！"},
                {"DTitle", "请输入子项主题！"},
                {"InOut", "请输入业务子项的收支描述！"}};
    for (const auto &r : list) {
        QWidget *w = editor(s(r.field));
        if (shownText(w).isEmpty()) {
            Messages::warning(this, s(r.message));
            w->setFocus();
            return false;
        }
    }
    return true;
}

void TfrmOperateNewChild::recompute()
{
    ErrorHandler::run(this, [] {
        Dataset *items = dmMain->tblOperateDetail;
        if (!items->isActive() || (items->isEmpty() && items->state() != Dataset::State::Insert))
            return;
        if (!WindowKit::isEditing(items))
            items->edit();
        OperationRules::computeItemTotals(*items);
    });
}

bool TfrmOperateNewChild::save()
{
    if (!checkRequired())
        return false;
    Dataset *items = dmMain->tblOperateDetail;
    bool duplicate = false;
    const bool posted = ErrorHandler::run(this, [&] {
        if (!WindowKit::isEditing(items))
            items->edit();
        OperationRules::computeItemTotals(*items);
        try {
            items->post();
        } catch (const DatasetError &e) {
            if (!e.isDuplicate())
                throw;
            duplicate = true;
        }
    });
    if (duplicate)
        Messages::warning(this, s("对不起，已经存在相同的子项编码!"));
    if (!posted || duplicate) {
        editor(s("DetailNo"))->setFocus();
        return false;
    }
    return true;
}

void TfrmOperateNewChild::showEvent(QShowEvent *event)
{
    RecordDialog::showEvent(event);
    editor(s("DetailNo"))->setFocus();
}

bool TfrmOperateNewChild::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_amountEdit && event->type() == QEvent::FocusOut) {
        // The typed quantity is written first, then the totals follow it.
        if (auto *n = qobject_cast<DbNumberEdit *>(editor(s("Amount"))); n && dmMain->tblOperateDetail->isActive())
            Q_EMIT n->link()->flush();
        recompute();
    }
    return RecordDialog::eventFilter(watched, event);
}
