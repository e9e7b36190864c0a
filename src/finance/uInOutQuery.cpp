#include "uInOutQuery.h"

#include "DateText.h"
#include "Dialogs.h"
#include "Utf8.h"
#include "uGathering.h"
#include "uPublic.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmInOutQuery::TfrmInOutQuery(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmInOutQuery"));
    setWindowTitle(s("查询"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(s("按起止时间查询："), this);
    auto *grid = new QGridLayout(group);
    QString format = DateText::shortDateFormat();
    if (!format.contains(s("yyyy")))
        format.replace(s("yy"), s("yyyy"));
    const auto date = [&](const QString &label, const char *name, int row) {
        auto *d = new QDateEdit(group);
        d->setObjectName(QString::fromLatin1(name));
        d->setCalendarPopup(true);
        d->setDisplayFormat(format);
        d->setMinimumWidth(140);
        auto *l = new QLabel(label, group);
        l->setBuddy(d);
        grid->addWidget(l, row, 0);
        grid->addWidget(d, row, 1);
        return d;
    };
    m_start = date(s("起始时间："), "deStart", 0);
    m_end = date(s("截止时间："), "deEnd", 1);
    layout->addWidget(group);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(s("确定"), this);
    m_ok->setObjectName(s("btnOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(s("取消"), this);
    m_cancel->setObjectName(s("btnCancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    m_start->setDate(QDate::currentDate().addDays(-30));
    m_end->setDate(QDate::currentDate());
    connect(m_ok, &QPushButton::clicked, this, [this] { run(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmInOutQuery::execute(QWidget *parent)
{
    TfrmInOutQuery dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmInOutQuery::run()
{
    // A database error is told by the window; the dialog closes either way, as the list has changed.
    if (TfrmInOut *w = TfrmInOut::byCaller(InOutQueryCaller))
        w->openRange(m_start->date(), m_end->date());
    accept();
}
