#pragma once

#include <QMap>
#include <QString>

class Dataset;
class QWidget;

// What every print command calls: load the layout by name from the report folder,
// prepare it over the dataset as it stands, and show it in a new preview window.
// A missing or unreadable layout is reported by name and nothing is shown.
namespace ReportService {

void setFolder(const QString &folder);  // AppDir + "Data/Report/"
QString folder();
QString layoutPath(const QString &name);

// Returns false when the layout could not be used. The caller writes its log entry first.
bool preview(QWidget *parent, const QString &layoutName, Dataset *data, const QMap<QString, Dataset *> &extras = {});

}  // namespace ReportService
