#pragma once

#include "CodeTableEditor.h"

#include <QList>
#include <QString>

// The classification tables a worker record points to: work types, skill levels and
// health checks, as members of the code-table editor.
const QList<CodeTable> &workerCodeTables();
// The member of that name ("TfrmGongzhong"); nullptr when there is none.
const CodeTable *workerCodeTable(const QString &windowName);
