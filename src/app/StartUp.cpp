#include "StartUp.h"

#include "Messages.h"
#include "udmMain.h"

#include <cstdio>

namespace StartUp {

int connect(TdmMain &dm, const QString &appDir)
{
    if (dm.connectDatabase(appDir))
        return 0;
    std::fprintf(stderr, "brimwell: cannot open the database: %s\n", qPrintable(dm.failure()));
    if (dm.databaseIsReadOnly()) {
        // The file is fine and Server.txt still names it; only the rights on it are wrong.
        Messages::warning(nullptr, dm.failure());
        return DatabaseReadOnly;
    }
    return ConnectionFailed;
}

}  // namespace StartUp
