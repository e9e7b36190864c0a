#pragma once

#include <QList>
#include <QString>
#include <functional>

class DbGrid;
class DatasetModel;

// Writes the rows of a grid, as the grid shows them, to a spreadsheet or CSV file.
// The file is written beside the target under a temporary name and renamed into
// place, so a failure or a cancel leaves no half file and an existing file as it was.
namespace GridExport {

struct Column
{
    int modelColumn = -1;
    QString caption;
    int width = 100;  // pixels
};

// The shown columns of the grid, in their shown order.
QList<Column> shownColumns(const DbGrid &grid);

// Told how many rows are written so far; returns false to stop (the export is then cancelled).
using Progress = std::function<bool(int done, int total)>;

struct Result
{
    bool written = false;
    bool cancelled = false;
    QString error;  // why it failed, fit to show
};

// UTF-8 with a byte-order mark, CRLF, quoted where needed; a text that a spreadsheet
// would take for a formula gets a leading "'".
Result writeCsv(const QString &path, const DatasetModel &model, const QList<Column> &columns, const Progress &progress = {});

// Numbers as numbers in the column's format, dates as dates, ticks as "√", every other
// cell a string (never a formula); the header row bold and frozen, widths from the grid.
Result writeXlsx(const QString &path, const DatasetModel &model, const QList<Column> &columns,
                 const Progress &progress = {});

// The CSV field for one cell: quoted when it holds a comma, quote or line break;
// prefixed with "'" when it starts like a formula.
QString csvField(const QString &text, bool isText);

}  // namespace GridExport
