#pragma once

#include "Dataset.h"

#include <QString>

// What ties business records to a contact's code: the query that keeps a contact from
// being deleted or its code from changing, and the guard the contact datasets post through.
namespace ContactRules {

// "select * from tblOperates where LinkmanID=:LinkmanID"
QString businessCheckSql();
// "对不起，业务资料有该联系人信息，不能删除！"
QString deleteRefusal();
// "对不起，业务资料有该联系人信息，不能修改联系人代码！"
QString codeChangeRefusal();

// A saved contact whose code is being changed (letter case aside: links ignore it)
// while business records still name the stored code.
bool codeChangeBlocked(Dataset &contacts);

// The before-post guard of a contact dataset: refuses a blocked code change with
// codeChangeRefusal(), whatever path posts (a save, a row move, a close).
Dataset::BeforePostHook beforePost();

}  // namespace ContactRules
