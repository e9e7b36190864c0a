#include "WorkerForm.h"

#include "DbComboBox.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbHyperlinkEdit.h"
#include "DbLookupCombo.h"
#include "DbMemo.h"
#include "DbPhoto.h"
#include "FocusChain.h"
#include "Messages.h"
#include "Shell.h"
#include "Utf8.h"
#include "udmMain.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

WorkerForm::WorkerForm(DataSource *src, Host host, QWidget *parent) : QWidget(parent)
{
    setObjectName(s("workerForm"));
    auto *form = new QGridLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->setHorizontalSpacing(6);
    form->setVerticalSpacing(4);
    int line = 0, column = 0;
    const auto place = [&](const char *label, const char *field, QWidget *w, QWidget *cell, int span) {
        w->setObjectName(s("ed") + s(field));
        auto *l = new QLabel(s(label), this);
        l->setBuddy(w);
        if (column + span > 3) {
            column = 0;
            ++line;
        }
        form->addWidget(l, line, column * 2);
        form->addWidget(cell ? cell : w, line, column * 2 + 1, 1, span * 2 - 1);
        column += span;
        if (column >= 3) {
            column = 0;
            ++line;
        }
        m_editors.insert(s(field).toLower(), w);
        m_order << w;
    };
    const auto text = [&](const char *label, const char *field, int span = 1) {
        auto *e = new DbEdit(this);
        e->bind(src, s(field));
        place(label, field, e, nullptr, span);
    };
    const auto choice = [&](const char *label, const char *field, const QStringList &items) {
        auto *c = new DbComboBox(this);
        c->addItems(items);
        c->bind(src, s(field));
        place(label, field, c, nullptr, 1);
    };
    const auto lookup = [&](const char *label, const char *field, DataSource *list, const char *key, const char *name) {
        auto *c = new DbLookupCombo(this);
        c->setList(list, s(key), s(name));
        c->bind(src, s(field));
        place(label, field, c, nullptr, 1);
        return c;
    };
    // A field with a button beside it.
    const auto withButton = [&](const char *label, const char *field, QWidget *w, QPushButton *button, int span) {
        auto *cell = new QWidget(this);
        auto *h = new QHBoxLayout(cell);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(w, 1);
        h->addWidget(button);
        place(label, field, w, cell, span);
    };
    text("员工编号：", "YuangongID");
    text("姓    名：", "Name");
    text("称    呼：", "NickName");
    choice("性    别：", "Sex", {s("男"), s("女")});
    lookup("部    门：", "DepartmentID", dmMain->dsDepartment, "DepartmentID", "DepartmentName");
    text("职    务：", "Duty");
    choice("学　　历：", "Education", {s("专科"), s("本科"), s("硕士"), s("中专"), s("高中"), s("初中")});
    auto *birth = new DbDateEdit(this);
    birth->bind(src, s("Birth"));
    place("出生年月：", "Birth", birth, nullptr, 1);
    text("身份证号：", "ID");
    lookup("体检情况：", "TJID", dmMain->dsTijian, "TJID", "TJMS");
    lookup("工    种：", "GongzhongID", dmMain->dsGongzhong, "GongzhongID", "GongzhongName");
    text("籍　　贯：", "Native");
    text("毕业学校：", "School");
    text("家庭住址：", "Address", 2);
    lookup("输送单位：", "ShusongID", dmMain->dsShusong1, "ShusongID", "ShusongName");
    lookup("技能级别：", "LevelID", dmMain->dsJineng, "LevelID", "LevelName");
    auto *customer = new DbLookupCombo(this);
    customer->setList(dmMain->dsCustomers2, s("CustId"), s("CustId"));
    customer->bind(src, s("CustID"));
    if (host == Host::Window) {
        m_pick = new QPushButton(s("查询..."), this);
        m_pick->setObjectName(s("btnPickCustomer"));
        m_pick->setAutoDefault(false);
        withButton("受聘客户：", "CustID", customer, m_pick, 1);
    } else {
        customer->setReadOnly(true);
        place("受聘客户：", "CustID", customer, nullptr, 1);
    }
    auto *email = new DbHyperlinkEdit(this);
    email->bind(src, s("Email"));
    auto *mail = new QPushButton(s("发送邮件"), this);
    mail->setObjectName(s("btnMail"));
    mail->setAutoDefault(false);
    withButton("Email邮箱：", "Email", email, mail, 2);
    auto *memo = new DbMemo(this);
    memo->bind(src, s("Memo"));
    memo->setMaximumHeight(52);
    place("备　　注：", "Memo", memo, nullptr, 3);
    for (int c = 1; c < 6; c += 2)
        form->setColumnStretch(c, 1);

    auto *photoColumn = new QVBoxLayout;
    m_photo = new DbPhoto(this);
    m_photo->setObjectName(s("imgPhoto"));
    m_photo->setFixedSize(130, 160);
    m_photo->bind(src, s("Photo"));
    m_zoom = new QPushButton(s("放大"), this);
    m_zoom->setObjectName(s("btnZoom"));
    m_zoom->setToolTip(s("放大"));
    m_zoom->setAutoDefault(false);
    photoColumn->addWidget(m_photo);
    photoColumn->addWidget(m_zoom, 0, Qt::AlignHCenter);
    photoColumn->addStretch(1);
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(form, 1);
    outer->addLayout(photoColumn);
    FocusChain::install(m_order, this);

    connect(mail, &QPushButton::clicked, this, [email] {
        if (!email->text().trimmed().isEmpty())
            Shell::open(Shell::mailto(email->text().trimmed()));
    });
}

QString WorkerForm::code() const
{
    return qobject_cast<DbEdit *>(editor(s("YuangongID")))->text().trimmed();
}

QString WorkerForm::name() const
{
    return qobject_cast<DbEdit *>(editor(s("Name")))->text().trimmed();
}

bool WorkerForm::check()
{
    if (code().isEmpty()) {
        Messages::warning(this, s("请输入员工代码！"));
        editor(s("YuangongID"))->setFocus();
        return false;
    }
    if (name().isEmpty()) {
        Messages::warning(this, s("请输入员工姓名！"));
        editor(s("Name"))->setFocus();
        return false;
    }
    return true;
}
