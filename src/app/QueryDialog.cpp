#include "QueryDialog.h"

#include "Dataset.h"
#include "DateText.h"
#include "ErrorHandler.h"
#include "FilterExpression.h"
#include "Messages.h"
#include "WindowKit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

QueryDialog::QueryDialog(const Setup &setup, Handler onOk, QWidget *parent) : QDialog(parent), m_onOk(std::move(onOk))
{
    setObjectName(setup.objectName);
    setWindowTitle(setup.caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    int row = 0;
    if (setup.dateRange) {
        m_range = new QRadioButton(setup.rangeCaption, this);
        m_range->setObjectName(QStringLiteral("rbRange"));
        grid->addWidget(m_range, row++, 0, 1, 2);
        const auto date = [&](const QString &label, const char *name) {
            auto *d = new QDateEdit(this);
            d->setObjectName(QString::fromLatin1(name));
            d->setCalendarPopup(true);
            QString format = DateText::shortDateFormat();
            if (!format.contains(QStringLiteral("yyyy")))
                format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
            d->setDisplayFormat(format);
            auto *l = new QLabel(label, this);
            l->setBuddy(d);
            grid->addWidget(l, row, 0);
            grid->addWidget(d, row++, 1);
            return d;
        };
        m_start = date(setup.startLabel, "deStart");
        m_end = date(setup.endLabel, "deEnd");
        m_other = new QRadioButton(setup.otherCaption, this);
        m_other->setObjectName(QStringLiteral("rbOther"));
        grid->addWidget(m_other, row++, 0, 1, 2);
    }
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cbKind"));
    m_kind->addItems(setup.kinds);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("edText"));
    if (!setup.kindLabel.isEmpty()) {
        auto *l = new QLabel(setup.kindLabel, this);
        l->setBuddy(m_kind);
        grid->addWidget(l, row, 0);
        grid->addWidget(m_kind, row++, 1);
        auto *t = new QLabel(setup.textLabel, this);
        t->setBuddy(m_text);
        grid->addWidget(t, row, 0);
        grid->addWidget(m_text, row++, 1);
    } else {
        auto *l = new QLabel(setup.textLabel, this);
        l->setBuddy(m_kind);
        auto *pair = new QHBoxLayout;
        pair->addWidget(m_kind);
        pair->addWidget(m_text, 1);
        grid->addWidget(l, row, 0);
        grid->addLayout(pair, row++, 1);
    }
    layout->addLayout(grid);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("btnOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    m_text->setEnabled(false);
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_text->clear();
        m_text->setEnabled(index > 0);
    });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        bool close = false;
        ErrorHandler::run(this, [&] { close = m_onOk(*this); });
        if (close)
            accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (m_range) {
        m_start->setDate(QDate::currentDate().addDays(-30));
        m_end->setDate(QDate::currentDate());
        m_range->setChecked(true);
    }
}

void QueryDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_range)
        m_range->setFocus();
    else
        m_kind->setFocus();
}

int QueryDialog::kind() const
{
    return m_kind->currentIndex();
}

QString QueryDialog::text() const
{
    return m_text->text().trimmed();
}

bool QueryDialog::rangeSelected() const
{
    return m_range && m_range->isChecked();
}

QDate QueryDialog::startDate() const
{
    return m_start ? m_start->date() : QDate();
}

QDate QueryDialog::endDate() const
{
    return m_end ? m_end->date() : QDate();
}

QString dayRangeFilter(const QString &column, QDate from, QDate to, const QString &owner)
{
    if (to < from)
        std::swap(from, to);
    const QString ownerTerm = QStringLiteral(") and (sUser='") + FilterExpression::quote(owner) + QStringLiteral("'))");
    QString out;
    out.reserve(int(from.daysTo(to) + 1) * (column.size() + ownerTerm.size() + 16));
    for (QDate d = from; d <= to; d = d.addDays(1)) {
        if (!out.isEmpty())
            out += QStringLiteral(" or ");
        if (owner.isEmpty())
            out += column + u'=' + DateText::shortDate(d);
        else
            out += QStringLiteral("((") + column + u'=' + DateText::shortDate(d) + ownerTerm;
    }
    return out;
}

namespace {

QueryDialog::Setup likeSetup(const LikeQueryDialog::Table &table)
{
    QStringList kinds;
    for (const LikeQueryDialog::Kind &k : table.kinds)
        kinds << QString::fromUtf8(k.caption);
    return {.objectName = QString::fromUtf8(table.objectName),
            .caption = QString::fromUtf8(table.caption),
            .kindLabel = QStringLiteral("请选择查询条件："),
            .textLabel = QStringLiteral("请输入查询条件："),
            .kinds = kinds};
}

}  // namespace

LikeQueryDialog::LikeQueryDialog(const Table &table, QWidget *parent)
    : QueryDialog(likeSetup(table), [this](QueryDialog &) { return run(); }, parent), m_table(table)
{
}

QString LikeQueryDialog::condition(const Table &table, int kind, const QString &text)
{
    if (kind <= 0 || kind >= int(table.kinds.size()))
        return {};
    return QString::fromUtf8(table.kinds[size_t(kind)].column) + QStringLiteral(" Like '%") +
           FilterExpression::quote(text) + QStringLiteral("%'");
}

QString LikeQueryDialog::emptyMessage(const Table &table, int kind)
{
    if (kind <= 0 || kind >= int(table.kinds.size()))
        return {};
    return QString::fromUtf8(table.kinds[size_t(kind)].emptyMessage);
}

bool LikeQueryDialog::run()
{
    Dataset *list = m_table.list();
    if (kindBox()->findText(kindBox()->currentText()) < 0)
        return true;
    if (!isAllKind() && text().isEmpty()) {
        Messages::warning(this, emptyMessage(m_table, kind()));
        textEdit()->setFocus();
        return false;
    }
    // A pending row is stored, not dropped, before the list is filtered again.
    if (list->isActive() && WindowKit::isEditing(list) && !ErrorHandler::run(this, [list] { list->post(); }))
        return false;
    if (isAllKind()) {
        ErrorHandler::run(this, [list] { list->setFiltered(false); });
        return true;
    }
    if (m_table.onRefusal == OnRefusal::FilterAnyway) {
        ErrorHandler::run(this, [&] { list->setFilter(condition(m_table, kind(), text())); });
        ErrorHandler::run(this, [list] { list->setFiltered(true); });
        return true;
    }
    const QString before = list->filter();
    const bool wasFiltered = list->isFiltered();
    const bool ok = ErrorHandler::run(this, [&] {
        list->setFiltered(false);
        list->setFilter(condition(m_table, kind(), text()));
        list->setFiltered(true);
    });
    if (!ok) {
        // The list keeps the filter it had.
        ErrorHandler::run(this, [&] {
            list->setFilter(before);
            list->setFiltered(wasFiltered);
        });
    }
    return ok;
}
