#pragma once

#include "uBackup.h"

// "数据恢复": replaces the live database file by a checked copy of a chosen one.
class TfrmRestore : public TfrmBackup
{
    Q_OBJECT

public:
    explicit TfrmRestore(QWidget *parent = nullptr);

    static int execute(QWidget *parent);

    // "恢复": the log entry, the question, then the swap; false when nothing was restored.
    bool restore();

protected:
    void browse() override;
    bool run() override { return restore(); }
};
