#pragma once

#include "Dataset.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// What ties other records to a customer's code: the five tables whose rows keep a
// customer from being deleted or its code from changing, and the guard both customer
// datasets post through.
namespace CustomerRules {

// One table naming the code: the query (each parameter bound to the code) and the
// message a delete shows when a row comes back.
struct RelatedCheck
{
    QString sql;
    QStringList params;
    QString message;
};

// Contacts, business records (as customer or linked customer), contact history,
// additional information, appointments; in the order the delete tests them.
QList<RelatedCheck> relatedChecks();

// True when any of the five tables names `code`.
bool isNamed(const QVariant &code);

// "对不起，该客户有相关资料，不能修改客户代码！"
QString codeChangeRefusal();

// A saved row whose code is being changed (letter case aside: links ignore it) while
// related rows still name the stored code.
bool codeChangeBlocked(Dataset &customers);

// The before-post guard of a customer dataset: refuses a blocked code change with
// codeChangeRefusal(); with `dropInsertWithoutCode` a new row without a code is
// dropped silently instead of stored.
Dataset::BeforePostHook beforePost(bool dropInsertWithoutCode);

}  // namespace CustomerRules
