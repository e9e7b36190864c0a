#include "ContactQuery.h"

#include "Messages.h"
#include "QueryDataset.h"
#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QLineEdit>

namespace {

QueryDialog::Setup dialogSetup(const ContactQueryDialog::Setup &setup)
{
    QStringList kinds;
    for (const ContactQueryDialog::Kind &k : setup.kinds)
        kinds << s(k.caption);
    return {.objectName = setup.objectName,
            .caption = s("联系人查询"),
            .kindLabel = s("请选择查询条件："),
            .textLabel = s("附加条件："),
            .kinds = kinds};
}

}  // namespace

ContactQueryDialog::ContactQueryDialog(const Setup &setup, QWidget *parent)
    : QueryDialog(dialogSetup(setup), [this](QueryDialog &) { return run(); }, parent), m_setup(setup)
{
    resize(360, sizeHint().height());
}

QStringList ContactQueryDialog::sqlLines(const QString &column, bool ownerLine)
{
    QStringList lines{s("select * from tblLinkmans ")};
    if (!column.isEmpty())
        lines << s(" where ") + column + s(" Like :Pattern");
    if (ownerLine)
        lines << (column.isEmpty() ? s(" where sUser=:sUser") : s(" and sUser=:sUser"));
    return lines;
}

bool ContactQueryDialog::run()
{
    QueryDataset *q = m_setup.query;
    const QString column = isAllKind() ? QString() : s(m_setup.kinds.at(kind()).column);
    const auto refuseEmptyText = [this] {
        Messages::warning(this, s("请输入附加查询条件!"));
        textEdit()->setFocus();
        return false;
    };
    bool ownerLine = false;
    if (m_setup.ownerRule) {
        ownerLine = !IsSystemUser();
        if (!column.isEmpty() && text().isEmpty())
            return refuseEmptyText();
        q->close();
    } else {
        // The list stays empty until a valid query is run.
        q->close();
        q->setSql(sqlLines({}, false));
        if (!column.isEmpty() && text().isEmpty())
            return refuseEmptyText();
    }
    q->setSql(sqlLines(column, ownerLine));
    // The text as typed: blanks are part of the pattern.
    q->setParam(s("Pattern"), QString(u'%' + textEdit()->text() + u'%'));
    q->setParam(s("sUser"), CurrentUserID);
    q->open();
    if (!q->isEmpty())
        return true;
    Messages::warning(this, s("对不起，没有找到符合条件的记录！"));
    return false;
}
