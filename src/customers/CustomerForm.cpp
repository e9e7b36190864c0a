#include "CustomerForm.h"

#include "CustomerRules.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbLookupCombo.h"
#include "DbMemo.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "Messages.h"
#include "Shell.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// What a required-field check reads: the text the edit shows.
QString shownText(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *c = qobject_cast<DbLookupCombo *>(w))
        return c->text();
    if (auto *d = qobject_cast<DbDateEdit *>(w))
        return d->displayedText();
    return {};
}

}  // namespace

CustomerForm::CustomerForm(DataSource *source, QWidget *parent) : QWidget(parent), m_source(source)
{
    setObjectName(s("customerForm"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    // `cell`, when given, is what the grid holds: the editor with its note or button beside it.
    const auto place = [&](const char *label, QWidget *editor, const char *field, int row, int column, int span = 1,
                           QWidget *cell = nullptr) {
        auto *l = new QLabel(s(label), this);
        l->setBuddy(editor);
        editor->setObjectName(s(qobject_cast<DbLookupCombo *>(editor) ? "cb" : "ed") + s(field));
        grid->addWidget(l, row, column * 2);
        grid->addWidget(cell ? cell : editor, row, column * 2 + 1, 1, span * 2 - 1);
        m_editors.insert(s(field).toLower(), editor);
        m_order << editor;
    };
    const auto edit = [&](const char *field) {
        auto *e = new DbEdit(this);
        e->bind(source, s(field));
        return e;
    };
    const auto lookup = [&](const char *field, DataSource *list, const char *key, const char *shown) {
        auto *c = new DbLookupCombo(this);
        c->bind(source, s(field));
        c->setList(list, s(key), s(shown));
        return c;
    };

    // Code with its note and the duplicate test.
    m_code = edit("CustId");
    auto *codeRow = new QWidget(this);
    auto *codeLayout = new QHBoxLayout(codeRow);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    m_duplicate = new QPushButton(s("查重"), codeRow);
    m_duplicate->setObjectName(s("btnDuplicate"));
    m_duplicate->setAutoDefault(false);
    codeLayout->addWidget(m_code, 1);
    codeLayout->addWidget(new QLabel(s("（唯一标识码）"), codeRow));
    codeLayout->addWidget(m_duplicate);
    place("客户代码：", m_code, "CustId", 0, 0, 2, codeRow);
    place("客户名称：", edit("CustName"), "CustName", 0, 2);
    place("国    籍：", lookup("CountryID", dmMain->dsCountry, "CountryID", "CountryName"), "CountryID", 1, 0);
    place("所 在 区：", lookup("DistID", dmMain->dsCustDist, "DistID", "DistName"), "DistID", 1, 1);
    place("电    话：", edit("Telephone"), "Telephone", 1, 2);
    place("传    真：", edit("Fax"), "Fax", 2, 0);
    place("主联系人：", edit("MainLinkman"), "MainLinkman", 2, 1);
    place("手    机：", edit("MainTelephone"), "MainTelephone", 2, 2);
    place("详细地址：", edit("Address"), "Address", 3, 0, 2);

    // Email with the send button.
    m_email = edit("Email");
    auto *mailRow = new QWidget(this);
    auto *mailLayout = new QHBoxLayout(mailRow);
    mailLayout->setContentsMargins(0, 0, 0, 0);
    m_send = new QPushButton(s("发送"), mailRow);
    m_send->setObjectName(s("btnSend"));
    m_send->setAutoDefault(false);
    mailLayout->addWidget(m_email, 1);
    mailLayout->addWidget(m_send);
    place("Email：", m_email, "Email", 3, 2, 1, mailRow);

    place("邮编：", edit("PostCode"), "PostCode", 4, 0);
    place("主要成员：", edit("HomePage"), "HomePage", 4, 1, 2);
    place("客户类型：", lookup("VocationID", dmMain->dsVocation, "VocationId", "VocationName"), "VocationID", 5, 0);
    place("客户来源：", lookup("OriginID", dmMain->dsCustOrigin, "OriginID", "OriginName"), "OriginID", 5, 1);
    place("客户级别：", lookup("LevelID", dmMain->dsCustLevel, "LevelID", "LevelName"), "LevelID", 5, 2);
    place("客户状态：", lookup("StateId", dmMain->dsCustState, "StateID", "StateName"), "StateId", 6, 0);
    auto *created = new DbDateEdit(this);
    created->bind(source, s("CreateDate"));
    place("建档日期：", created, "CreateDate", 6, 1);
    place("工作人员：", lookup("OperaterID", dmMain->dsOperaters, "OperaterID", "Name"), "OperaterID", 6, 2);

    // Number employed with its unit.
    DbEdit *employed = edit("City");
    auto *employedRow = new QWidget(this);
    auto *employedLayout = new QHBoxLayout(employedRow);
    employedLayout->setContentsMargins(0, 0, 0, 0);
    employedLayout->addWidget(employed, 1);
    employedLayout->addWidget(new QLabel(s("人"), employedRow));
    place("受聘人数：", employed, "City", 7, 0, 1, employedRow);

    // The note beside the number employed, two rows high: the fixed client area has no
    // height for a row of its own, and a one-line note cannot be read.
    auto *memo = new DbMemo(this);
    memo->bind(source, s("Memo"));
    memo->setMinimumHeight(memo->fontMetrics().lineSpacing() * 2 + 2 * memo->frameWidth() + 4);
    place("备　　注：", memo, "Memo", 7, 1, 2);
    grid->addWidget(memo, 7, 3, 2, 3);
    grid->setRowStretch(8, 1);
    // The first and last columns carry a note or a button beside their editors.
    grid->setColumnStretch(1, 5);
    grid->setColumnStretch(3, 3);
    grid->setColumnStretch(5, 4);
    for (QPushButton *b : {m_duplicate, m_send})
        b->setMaximumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 18);

    FocusChain::install(m_order, this);
    connect(m_duplicate, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { checkDuplicate(); }); });
    connect(m_send, &QPushButton::clicked, this, [this] { send(); });
}

Dataset *CustomerForm::dataset() const
{
    return m_source->dataset();
}

bool CustomerForm::checkRequired()
{
    static const struct
    {
        const char *field;
        const char *message;
    } required[] = {
        {"CustId", "请输入客户简称！"},      {"CustName", "请输入客户名称！"},   {"VocationID", "请选择输入行业类别！"},
        {"OriginID", "请选择输入客户来源！"}, {"LevelID", "请选择输入客户级别！"}, {"StateId", "请选择输入客户状态！"},
        {"CreateDate", "请输入客户建档日期！"},
    };
    for (const auto &r : required) {
        QWidget *w = editor(s(r.field));
        if (shownText(w).trimmed().isEmpty()) {
            Messages::warning(this, s(r.message));
            w->setFocus();
            return false;
        }
    }
    return true;
}

bool CustomerForm::refuseCodeChange()
{
    Dataset *d = dataset();
    if (!d->isActive() || !CustomerRules::codeChangeBlocked(*d))
        return false;
    Messages::warning(this, CustomerRules::codeChangeRefusal());
    m_code->setFocus();
    return true;
}

void CustomerForm::makeFolder()
{
    FileListRoot = RecordFolder(FilesRoot, m_code->text());
}

bool CustomerForm::save(bool fillUser)
{
    if (refuseCodeChange() || !checkRequired())
        return false;
    makeFolder();
    Dataset *d = dataset();
    if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert) {
        if (fillUser && d->field(s("SUser")).isNull())
            d->field(s("SUser")).setValue(CurrentUserID);
        d->post();
    }
    return true;
}

void CustomerForm::remove()
{
    WriteLog(s("客户业务管理-客户资料-删除"));
    QList<WindowKit::DeleteCheck> checks;
    for (const CustomerRules::RelatedCheck &c : CustomerRules::relatedChecks())
        checks << WindowKit::DeleteCheck{c.sql, c.params, s("CustID"), c.message};
    WindowKit::deleteCurrent(this, dataset(), checks, s("您真的要删除该客户吗？"));
}

void CustomerForm::checkDuplicate()
{
    QueryDataset *q = dmMain->qryCustLookup;
    q->close();
    q->setSql({s("select CustID from tblCustomers"), s(" where CustID=:CustID")});
    q->setParam(s("CustID"), m_code->text());
    q->open();
    if (!q->isEmpty()) {
        Messages::warning(this, s("对不起，该客户代码已存在！"));
        m_code->setFocus();
    }
}

void CustomerForm::send()
{
    Shell::open(Shell::mailto(m_email->text()));
}
