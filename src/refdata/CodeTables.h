#pragma once

#include "CodeTableEditor.h"

#include <QList>

// The code tables of the reference data, one row of differences each.
const QList<CodeTable> &codeTables();
// The row of a window name ("TfrmCurrencyRate"); nullptr when none.
const CodeTable *codeTable(const QString &windowName);
