#pragma once

#include <QDate>

class Database;

// Deterministic, realistic demo rows across every table, for showing the windows
// filled and for benchmarks (scale multiplies every count but the code tables).
namespace DemoData {

struct Counts
{
    qint64 customers = 0, linkmans = 0, states = 0, operates = 0, details = 0, operaters = 0, workers = 0,
           shusong = 0, settlements = 0, plans = 0, notices = 0, logs = 0, users = 0;
};

// Adds the rows in one transaction. Dates are laid around `anchor` (plans and
// notices on that day among them, so the today view shows something).
Counts add(Database &db, int scale, const QDate &anchor);

// A few small documents in the folders of the first customers (C000001…), of the first staff
// member and of the schedule under `filesRoot`, so the file tool window shows something.
// Files already there are left as they are. Returns how many were written.
int addDocuments(const QString &filesRoot);

// Photos drawn for the first workers (JPEG and PNG) in their folders under `filesRoot`, their
// full paths in Photo; the sixth worker's file is left missing. Returns how many were written.
int addWorkerPhotos(Database &db, const QString &filesRoot);

// The same for the first five staff members under Operaters/; the fifth one's file is missing.
int addStaffPhotos(Database &db, const QString &filesRoot);

}  // namespace DemoData
