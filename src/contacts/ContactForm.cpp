#include "ContactForm.h"

#include "ContactRules.h"
#include "CustomerPick.h"
#include "DbCheckBox.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbHyperlinkEdit.h"
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

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// Switches off tblCustomers2's owner filter when the focus enters the customer drop-down,
// so every customer can be chosen.
class CustomerListOpener : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            ErrorHandler::run(qobject_cast<QWidget *>(watched), [] {
                if (dmMain->tblCustomers2->isFiltered())
                    dmMain->tblCustomers2->setFiltered(false);
            });
        return QObject::eventFilter(watched, event);
    }
};

QString shownText(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *c = qobject_cast<DbLookupCombo *>(w))
        return c->text();
    return {};
}

}  // namespace

ContactForm::ContactForm(DataSource *source, Host host, QWidget *parent) : QWidget(parent), m_source(source), m_host(host)
{
    setObjectName(s("contactForm"));
    const bool window = host == Host::Window;
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    // Each field: its label (the window's, the dialog's), its editor, its place; `shown`
    // is what goes into the grid when the editor sits in a row with a button.
    const auto place = [&](const char *windowLabel, const char *dialogLabel, QWidget *editor, const char *field, int row,
                           int column, int span = 1, QWidget *shown = nullptr) {
        auto *l = new QLabel(s(window ? windowLabel : dialogLabel), this);
        l->setBuddy(editor);
        if (editor->objectName().isEmpty())
            editor->setObjectName(s("ed") + s(field));
        grid->addWidget(l, row, column * 2);
        grid->addWidget(shown ? shown : editor, row, column * 2 + 1, 1, span * 2 - 1);
        m_editors.insert(s(field).toLower(), editor);
        m_order << editor;
    };
    const auto edit = [&](const char *field) {
        auto *e = new DbEdit(this);
        e->bind(source, s(field));
        return e;
    };
    const auto withButton = [&](QWidget *editor, QPushButton *&button, const char *name, const char *text) {
        auto *row = new QWidget(this);
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        button = new QPushButton(s(text), row);
        button->setObjectName(s(name));
        button->setAutoDefault(false);
        layout->addWidget(editor, 1);
        layout->addWidget(button);
        return row;
    };

    m_code = edit("LinkmanID");
    place("联系人代码：", "联系人代码：", m_code, "LinkmanID", 0, 0);
    m_name = edit("Name");
    place("联系人姓名：", "联系人姓名：", m_name, "Name", 0, 1);
    auto *main = new DbCheckBox(s("是否主要联系人"), this);
    main->bind(source, s("Main"));
    main->setObjectName(s("chkMain"));
    grid->addWidget(main, 0, 5);
    m_editors.insert(s("main"), main);
    m_order << main;

    if (window) {
        auto *customer = new DbLookupCombo(this);
        customer->setObjectName(s("cbCustID"));
        customer->bind(source, s("CustID"));
        customer->setList(dmMain->dsCustomers2, s("CustId"), s("CustName"));
        customer->installEventFilter(new CustomerListOpener(customer));
        m_customer = customer;
        QWidget *row = withButton(customer, m_pick, "btnPickCustomer", "查询...");
        place("客户名称：", "", customer, "CustID", 1, 0, 2, row);
    } else {
        DbEdit *name = edit("CustName");
        name->setObjectName(s("edCustName"));
        name->setReadOnly(true);
        m_customer = name;
        place("", "客户名称：", name, "CustID", 1, 0, 2);
    }
    place("称 呼：", "称　　呼：", edit("NickName"), "NickName", 1, 2);
    place("工作单位：", "部　　门：", edit("Department"), "Department", 2, 0);
    place("职 务：", "职　　务：", edit("Duty"), "Duty", 2, 1);
    place("联系电话：", "联系电话：", edit("Telephone"), "Telephone", 2, 2);
    place("传 真：", "传　　真：", edit("Fax"), "Fax", 3, 0);
    place("手    机：", "移动电话：", edit("Mobile"), "Mobile", 3, 1);
    place("家庭地址：", "详细地址：", edit("HomeAddress"), "HomeAddress", 4, 0, 3);

    m_email = new DbHyperlinkEdit(this);
    m_email->bind(source, s("Email"));
    place("Email邮箱：", "Email邮箱：", m_email, "Email", 5, 0, 2, withButton(m_email, m_send, "btnSendMail", "发送邮件"));
    m_homePage = new DbHyperlinkEdit(this);
    m_homePage->bind(source, s("HomePage"));
    place("主　　页：", "主　　页：", m_homePage, "HomePage", 6, 0, 2, withButton(m_homePage, m_open, "btnOpenHomePage", "打开..."));
    place("兴趣爱好：", "兴趣爱好：", edit("Enjoy"), "Enjoy", 7, 0, 2);
    auto *special = new DbDateEdit(this);
    special->bind(source, s("SpecialDate"));
    place("特殊纪念日：", "特殊纪念日：", special, "SpecialDate", 7, 2);
    auto *memo = new DbMemo(this);
    memo->bind(source, s("Memo"));
    memo->setMinimumHeight(44);
    memo->setMaximumHeight(window ? 60 : 80);
    place("备　　注：", "备　　注：", memo, "Memo", 8, 0, 3);
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);

    FocusChain::install(m_order, this);
    connect(m_send, &QPushButton::clicked, this, [this] { send(); });
    connect(m_open, &QPushButton::clicked, this, [this] { openHomePage(); });
    if (m_pick)
        connect(m_pick, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { pickCustomer(); }); });
}

Dataset *ContactForm::dataset() const
{
    return m_source->dataset();
}

bool ContactForm::refuseCodeChange()
{
    Dataset *d = dataset();
    if (!d->isActive() || !ContactRules::codeChangeBlocked(*d))
        return false;
    Messages::warning(this, ContactRules::codeChangeRefusal());
    m_code->setFocus();
    return true;
}

bool ContactForm::checkRequired(const QString &nameMessage)
{
    const auto refuse = [this](QWidget *w, const QString &message) {
        Messages::warning(this, message);
        w->setFocus();
        return false;
    };
    if (m_code->text().trimmed().isEmpty())
        return refuse(m_code, s("请输入联系人代码！"));
    if (m_name->text().trimmed().isEmpty())
        return refuse(m_name, nameMessage);
    if (m_host == Host::Window && shownText(m_customer).trimmed().isEmpty())
        return refuse(m_customer, s("请选择输入客户名称！"));
    return true;
}

void ContactForm::makeFolder()
{
    Dataset *d = dataset();
    const QString customer = d->isActive() && !d->isEmpty() ? d->field(s("CustID")).asString() : QString();
    FileListRoot = RecordFolder(FilesRoot, customer);
}

bool ContactForm::save(bool fillUser, const QString &nameMessage)
{
    if (refuseCodeChange() || !checkRequired(nameMessage))
        return false;
    makeFolder();
    Dataset *d = dataset();
    if (WindowKit::isEditing(d)) {
        if (fillUser && d->field(s("SUser")).isNull())
            d->field(s("SUser")).setValue(CurrentUserID);
        d->post();
    }
    return true;
}

void ContactForm::remove(const QString &question)
{
    WriteLog(s("客户业务管理-联系人资料-删除"));
    WindowKit::deleteCurrent(this, dataset(),
                             {{ContactRules::businessCheckSql(), {s("LinkmanID")}, s("LinkmanID"), ContactRules::deleteRefusal()}},
                             question);
}

void ContactForm::send()
{
    if (!m_email->text().trimmed().isEmpty())
        Shell::open(Shell::mailto(m_email->text()));
}

void ContactForm::openHomePage()
{
    const QString address = Shell::webAddress(m_homePage->text());
    if (!address.isEmpty())
        Shell::open(address);
}

void ContactForm::pickCustomer()
{
    CustomerPickCaller = s("联系人详细资料");
    CustomerPickDialog::execute(this);
}
