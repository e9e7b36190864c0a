#include "uLinkmanQuery.h"

#include "Dialogs.h"
#include "Utf8.h"
#include "udmMain.h"

TfrmLinkmanQuery::TfrmLinkmanQuery(QWidget *parent)
    : ContactQueryDialog({.objectName = s("frmLinkmanQuery"),
                          .kinds = {{"所有联系人", ""}, {"客户资料", "CustID"}, {"联系人资料", "Name"}},
                          .query = dmMain->qryLinkmans3,
                          .ownerRule = false},
                         parent)
{
}

int TfrmLinkmanQuery::execute(QWidget *parent)
{
    TfrmLinkmanQuery dialog(parent);
    return Dialogs::showModal(&dialog);
}
