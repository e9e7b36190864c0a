#include "GridExport.h"

#include "DatasetModel.h"
#include "DbGrid.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <QTreeView>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <xlsxwriter.h>

namespace GridExport {

namespace {

constexpr int ProgressStep = 256;
constexpr qsizetype CellBytesMax = 32767;  // the most a spreadsheet cell holds

bool isNumber(FieldKind k)
{
    return k == FieldKind::Long || k == FieldKind::Double || k == FieldKind::AutoNumber;
}

bool isDate(FieldKind k)
{
    return k == FieldKind::Date || k == FieldKind::DateTime;
}

// What a CSV cell holds: numbers plainly (no group separators), ticks as "√", the rest as shown.
QString csvText(const DatasetModel &model, int row, int column, FieldKind kind, bool *isText)
{
    const GridColumn &c = model.columns().at(column);
    *isText = false;
    if (c.tick)
        return model.cellValue(row, column).toBool() ? QStringLiteral("√") : QString();
    if (isNumber(kind)) {
        const QVariant v = model.cellValue(row, column);
        if (!v.isValid() || v.isNull())
            return {};
        if (c.decimals >= 0)
            return QString::number(v.toDouble(), 'f', c.decimals);
        return model.dataset()->textAt(row, model.dataset()->fieldIndex(c.field));
    }
    *isText = !isDate(kind);
    return model.displayText(row, column);
}

// "yyyy-MM-dd HH:mm:ss" as stored, read digit by digit; false for anything else.
bool storedDateTime(const QVariant &stored, lxw_datetime *out)
{
    if (stored.typeId() != QMetaType::QString)
        return false;
    const QString t = stored.toString();
    if (t.size() < 10 || t.at(4) != u'-' || t.at(7) != u'-')
        return false;
    const auto number = [&t](int from, int length, bool *ok) {
        int v = 0;
        for (int i = from; i < from + length; ++i) {
            if (i >= t.size() || !t.at(i).isDigit()) {
                *ok = false;
                return 0;
            }
            v = v * 10 + t.at(i).digitValue();
        }
        return v;
    };
    bool ok = true;
    *out = lxw_datetime{};
    out->year = number(0, 4, &ok);
    out->month = number(5, 2, &ok);
    out->day = number(8, 2, &ok);
    if (t.size() >= 19) {
        out->hour = number(11, 2, &ok);
        out->min = number(14, 2, &ok);
        out->sec = number(17, 2, &ok);
    }
    return ok && QDate::isValid(out->year, out->month, out->day);
}

// A longer text is cut to what one cell holds.
QByteArray cellBytes(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= CellBytesMax)
        return bytes;
    qsizetype cut = CellBytesMax;
    while (cut > 0 && (uchar(bytes.at(cut)) & 0xC0) == 0x80)
        --cut;  // never split a character
    return bytes.left(cut);
}

// The same for stored bytes, copied into `buffer` (no allocation once it has grown).
const char *cellBytes(QUtf8StringView text, std::string *buffer)
{
    qsizetype size = text.size();
    if (size > CellBytesMax) {
        size = CellBytesMax;
        while (size > 0 && (uchar(text.data()[size]) & 0xC0) == 0x80)
            --size;
    }
    buffer->assign(reinterpret_cast<const char *>(text.data()), size_t(size));
    return buffer->c_str();
}

// Where the library stages the sheet's rows before zipping them: memory-backed /dev/shm
// when it has ample room (faster, and the plain rows never reach a disk), else the target's folder.
QByteArray stagingFolder(const QFileInfo &target, qint64 roughBytes)
{
    const QStorageInfo shm(QStringLiteral("/dev/shm"));
    if (shm.isValid() && shm.isReady() && !shm.isReadOnly() && shm.bytesAvailable() > 4 * roughBytes)
        return QByteArrayLiteral("/dev/shm");
    return QFile::encodeName(target.absolutePath());
}

}  // namespace

QList<Column> shownColumns(const DbGrid &grid)
{
    QList<Column> out;
    const QHeaderView *header = grid.view()->header();
    const QList<GridColumn> &columns = grid.model()->columns();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || logical >= columns.size() || header->isSectionHidden(logical))
            continue;
        out.append({logical, columns.at(logical).caption, header->sectionSize(logical)});
    }
    return out;
}

QString csvField(const QString &text, bool isText)
{
    QString out = text;
    static const QString formulaStart = QStringLiteral("=+-@\t\r");
    if (isText && !out.isEmpty() && formulaStart.contains(out.at(0)))
        out.prepend(u'\'');
    if (out.contains(u',') || out.contains(u'"') || out.contains(u'\n') || out.contains(u'\r')) {
        out.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        out = u'"' + out + u'"';
    }
    return out;
}

Result writeCsv(const QString &path, const DatasetModel &model, const QList<Column> &columns, const Progress &progress)
{
    Result result;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    QList<FieldKind> kinds;
    QStringList line;
    for (const Column &c : columns) {
        kinds << model.columnKind(c.modelColumn);
        line << csvField(c.caption, true);
    }
    QByteArray out("\xEF\xBB\xBF");
    out += line.join(u',').toUtf8() + "\r\n";
    const std::vector<int> rows = model.rowsInViewOrder();
    const int total = int(rows.size());
    for (int i = 0; i < total; ++i) {
        if (progress && i % ProgressStep == 0 && !progress(i, total)) {
            file.cancelWriting();
            result.cancelled = true;
            return result;
        }
        line.clear();
        for (int c = 0; c < columns.size(); ++c) {
            bool isText = false;
            const QString text = csvText(model, rows[size_t(i)], columns.at(c).modelColumn, kinds.at(c), &isText);
            line << csvField(text, isText);
        }
        out += line.join(u',').toUtf8() + "\r\n";
        if (out.size() > (1 << 20)) {
            file.write(out);
            out.clear();
        }
    }
    file.write(out);
    if (!file.commit()) {
        result.error = QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    if (progress)
        progress(total, total);
    result.written = true;
    return result;
}

Result writeXlsx(const QString &path, const DatasetModel &model, const QList<Column> &columns, const Progress &progress)
{
    Result result;
    const QFileInfo target(path);
    const auto fail = [&](const QString &why) {
        result.error = QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), why);
        return result;
    };
    // The workbook is written under a temporary name in the target folder, then renamed.
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        return fail(temp.errorString());
    temp.close();
    const QByteArray tempName = QFile::encodeName(temp.fileName());
    const std::vector<int> rows = model.rowsInViewOrder();
    const QByteArray folder = stagingFolder(target, qint64(rows.size() + 1) * (columns.size() + 1) * 64);

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;  // rows stream to disk: 100,000 rows keep little memory
    options.tmpdir = const_cast<char *>(folder.constData());
    lxw_workbook *book = workbook_new_opt(tempName.constData(), &options);
    if (!book)
        return fail(QStringLiteral("无法建立工作簿"));
    lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format *dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "yyyy-mm-dd");
    lxw_format *dateTimeFormat = workbook_add_format(book);
    format_set_num_format(dateTimeFormat, "yyyy-mm-dd hh:mm:ss");

    QList<FieldKind> kinds;
    QList<lxw_format *> numberFormats;
    lxw_error error = LXW_NO_ERROR;
    for (int c = 0; c < columns.size(); ++c) {
        const GridColumn &gc = model.columns().at(columns.at(c).modelColumn);
        kinds << model.columnKind(columns.at(c).modelColumn);
        lxw_format *f = nullptr;
        if (gc.decimals >= 0) {
            f = workbook_add_format(book);
            const QByteArray pattern = "#,##0" + (gc.decimals > 0 ? "." + QByteArray(gc.decimals, '0') : QByteArray());
            format_set_num_format(f, pattern.constData());
        }
        numberFormats << f;
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), qMax(4.0, columns.at(c).width / 7.0), nullptr);
        if (error == LXW_NO_ERROR)
            error = worksheet_write_string(sheet, 0, lxw_col_t(c), cellBytes(columns.at(c).caption).constData(), bold);
    }
    worksheet_freeze_panes(sheet, 1, 0);

    const int total = int(rows.size());
    bool cancelled = false;
    std::string buffer;  // one cell's bytes with their terminating zero, reused cell after cell
    for (int i = 0; i < total && error == LXW_NO_ERROR; ++i) {
        if (progress && i % ProgressStep == 0 && !progress(i, total)) {
            cancelled = true;
            break;
        }
        const int row = rows[size_t(i)];
        const lxw_row_t sheetRow = lxw_row_t(i + 1);
        for (int c = 0; c < columns.size() && error == LXW_NO_ERROR; ++c) {
            const int column = columns.at(c).modelColumn;
            const GridColumn &gc = model.columns().at(column);
            const FieldKind kind = kinds.at(c);
            const lxw_col_t sheetCol = lxw_col_t(c);
            if (gc.tick) {
                if (model.cellValue(row, column).toBool())
                    error = worksheet_write_string(sheet, sheetRow, sheetCol, "√", nullptr);
                continue;
            }
            if (isNumber(kind) || isDate(kind)) {
                const QVariant v = model.cellStored(row, column);
                if (!v.isValid() || v.isNull())
                    continue;
                if (isNumber(kind)) {
                    error = worksheet_write_number(sheet, sheetRow, sheetCol, v.toDouble(), numberFormats.at(c));
                    continue;
                }
                lxw_datetime when;
                if (!storedDateTime(v, &when)) {
                    error = worksheet_write_string(sheet, sheetRow, sheetCol, cellBytes(v.toString()).constData(), nullptr);
                    continue;
                }
                const bool withTime = kind == FieldKind::DateTime && (when.hour || when.min || when.sec != 0);
                error = worksheet_write_datetime(sheet, sheetRow, sheetCol, &when, withTime ? dateTimeFormat : dateFormat);
                continue;
            }
            const QUtf8StringView stored = model.cellStoredText(row, column);
            if (!stored.isNull()) {
                if (!stored.isEmpty())
                    error = worksheet_write_string(sheet, sheetRow, sheetCol, cellBytes(stored, &buffer), nullptr);
                continue;
            }
            const QString text = model.displayText(row, column);
            if (!text.isEmpty())
                error = worksheet_write_string(sheet, sheetRow, sheetCol, cellBytes(text).constData(), nullptr);
        }
    }
    const lxw_error closed = workbook_close(book);
    if (cancelled) {
        result.cancelled = true;
        return result;  // the temporary file goes with `temp`
    }
    if (error != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(error)));
    if (closed != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(closed)));
    // rename() replaces an existing file in one step: readers see the old file or the new one.
    if (std::rename(tempName.constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    temp.setAutoRemove(false);
    if (progress)
        progress(total, total);
    result.written = true;
    return result;
}

}  // namespace GridExport
