#include "ReportService.h"

#include "Dialogs.h"
#include "Messages.h"
#include "ReportRenderer.h"
#include "uReport.h"

#include <QDir>

namespace ReportService {

namespace {
QString g_folder;
}

void setFolder(const QString &folder)
{
    g_folder = folder.endsWith(u'/') ? folder : folder + u'/';
}

QString folder()
{
    return g_folder;
}

QString layoutPath(const QString &name)
{
    return g_folder + name + QStringLiteral(".frf");
}

bool preview(QWidget *parent, const QString &layoutName, Dataset *data, const QMap<QString, Dataset *> &extras)
{
    ReportLayout layout;
    QString error;
    const QString path = layoutPath(layoutName);
    if (!ReportLayout::load(path, &layout, &error)) {
        // Printing another report's layout instead would be a plainly wrong printout.
        Messages::warning(parent, QStringLiteral("报表格式文件 %1 无法使用（%2），不能打印。")
                                      .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    auto renderer = std::make_unique<ReportRenderer>(layout, data, extras);
    TfrmReport window(std::move(renderer), layout.title, parent);
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    Dialogs::showModal(&window);
    return true;
}

}  // namespace ReportService
