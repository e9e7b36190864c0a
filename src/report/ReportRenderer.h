#pragma once

#include "ReportLayout.h"

#include <QMap>
#include <QPointer>
#include <QStringList>

class Dataset;
class QPagedPaintDevice;
class QPainter;

// Lays a report out over a dataset as it stands (filter, detail restriction, SQL, in
// its own order, without moving its cursor) and paints it onto any paged device.
class ReportRenderer
{
public:
    ReportRenderer(const ReportLayout &layout, Dataset *data, const QMap<QString, Dataset *> &extras = {});

    int pageCount() const { return int(m_pages.size()); }
    // Paints every page; the device's page layout is set from the report's.
    void render(QPagedPaintDevice *device) const;
    bool writePdf(const QString &path) const;
    // An expression text with [Field], [Name.Field], [Date], [Page], [Pages], [Count] filled.
    QString expand(const QString &text, int row, int page) const;

private:
    struct Page
    {
        int first = 0;   // first record on it
        int count = 0;   // records on it
        bool summary = false;
    };
    void readRows();
    void paginate();
    void paintPage(QPainter &p, double k, int index) const;
    QString cell(int row, const QString &field) const;

    ReportLayout m_layout;
    QPointer<Dataset> m_data;
    QMap<QString, QPointer<Dataset>> m_extras;
    QList<QStringList> m_cells;   // row -> text per column (lists)
    QStringList m_fields;
    QList<double> m_totals;
    int m_rows = 0;
    QList<Page> m_pages;
    QString m_printDate;
};
