#include "uLinkmanQuery1.h"

#include "Dialogs.h"
#include "Utf8.h"
#include "udmMain.h"

TfrmLinkmanQuery1::TfrmLinkmanQuery1(QWidget *parent)
    : ContactQueryDialog({.objectName = s("frmLinkmanQuery1"),
                          .kinds = {{"所有联系人", ""},
                                    {"客户代码", "CustID"},
                                    {"联系人代码", "LinkmanID"},
                                    {"联系人姓名", "Name"},
                                    {"职务", "Duty"},
                                    {"称呼", "NickName"}},
                          .query = dmMain->qryLinkmans1,
                          .ownerRule = true},
                         parent)
{
}

int TfrmLinkmanQuery1::execute(QWidget *parent)
{
    TfrmLinkmanQuery1 dialog(parent);
    return Dialogs::showModal(&dialog);
}
