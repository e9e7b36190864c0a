#include "GridLayout.h"

#include "DbGrid.h"

#include <QHeaderView>
#include <QSettings>
#include <QTreeView>
#include <QUrl>

namespace GridLayout {

namespace {

std::function<QString()> &fileHook()
{
    static std::function<QString()> hook;
    return hook;
}

}  // namespace

void setSettingsFile(std::function<QString()> file)
{
    fileHook() = std::move(file);
}

QString settingsFile()
{
    return fileHook() ? fileHook()() : QString();
}

QString safeFileName(const QString &userId)
{
    QString name = QString::fromLatin1(QUrl::toPercentEncoding(userId, {}, "."));
    return name.isEmpty() ? QStringLiteral("%") : name;
}

QString key(const DbGrid &grid)
{
    QStringList names;
    QString caption;
    for (const QWidget *w = &grid; w; w = w->parentWidget()) {
        if (!w->objectName().isEmpty())
            names.prepend(w->objectName());
        if (w != &grid && !w->windowTitle().isEmpty()) {
            caption = w->windowTitle();
            break;
        }
    }
    return QString::fromLatin1(QUrl::toPercentEncoding(caption + u'/' + names.join(u'.')));
}

void save(const DbGrid &grid)
{
    const QString file = settingsFile();
    if (file.isEmpty())
        return;
    const QHeaderView *header = grid.view()->header();
    const QList<GridColumn> &columns = grid.model()->columns();
    QStringList order, hidden, widths;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || logical >= columns.size())
            continue;
        const QString field = columns.at(logical).field;
        order << field;
        if (header->isSectionHidden(logical))
            hidden << field;
        else
            widths << field + u':' + QString::number(header->sectionSize(logical));
    }
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(key(grid));
    settings.setValue(QStringLiteral("order"), order);
    settings.setValue(QStringLiteral("hidden"), hidden);
    settings.setValue(QStringLiteral("widths"), widths);
    settings.setValue(QStringLiteral("groups"), grid.groupedFields());
    settings.endGroup();
}

bool restore(DbGrid &grid)
{
    const QString file = settingsFile();
    if (file.isEmpty())
        return false;
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(key(grid));
    if (!settings.contains(QStringLiteral("order")))
        return false;
    const QStringList order = settings.value(QStringLiteral("order")).toStringList();
    const QStringList hidden = settings.value(QStringLiteral("hidden")).toStringList();
    const QStringList widths = settings.value(QStringLiteral("widths")).toStringList();
    const QStringList groups = settings.value(QStringLiteral("groups")).toStringList();
    QHeaderView *header = grid.view()->header();
    const DatasetModel *model = grid.model();
    // Known names only, in the saved order; columns added since keep their places after them.
    int visual = 0;
    for (const QString &field : order) {
        const int logical = model->columnOfField(field);
        if (logical < 0)
            continue;
        header->moveSection(header->visualIndex(logical), visual++);
    }
    for (int logical = 0; logical < model->columnCount(); ++logical)
        header->setSectionHidden(logical, hidden.contains(model->columns().at(logical).field, Qt::CaseInsensitive));
    for (const QString &entry : widths) {
        const int logical = model->columnOfField(entry.section(u':', 0, 0));
        const int width = entry.section(u':', 1).toInt();
        if (logical >= 0 && width > 0)
            header->resizeSection(logical, width);
    }
    grid.clearGrouping();
    for (const QString &field : groups)
        if (model->columnOfField(field) >= 0)
            grid.groupBy(field);
    return true;
}

void forget(const DbGrid &grid)
{
    const QString file = settingsFile();
    if (file.isEmpty())
        return;
    QSettings settings(file, QSettings::IniFormat);
    settings.remove(key(grid));
}

}  // namespace GridLayout
