#pragma once

#include "GridColumn.h"
#include "ListPage.h"
#include "WindowKit.h"

#include <QHash>
#include <functional>

class DataSource;
class Dataset;
class QAction;

// A tab of records that belong to the window's current record: new, modify, delete,
// refresh and print buttons over a grid of the related dataset. The record dialog of
// a later window attaches through setRelatedDialog; without one, new and modify do nothing.
class RelatedRecordsTab : public ListPage
{
    Q_OBJECT

public:
    // One tab's differences.
    struct Setup
    {
        QString caption;            // the tab's caption
        QString newCaption;         // the caption of its "new" button
        QString rightCode;          // the right its gated buttons need (sub-rights Insert, Modify, Delete, Print)
        Dataset *dataset = nullptr;
        DataSource *source = nullptr;
        QList<GridColumn> columns;
        QStringList hiddenFields{}; // columns kept for grouping and reports but not shown
        QString sortField{};        // empty: the first column
        QString layout;             // report layout of the print button
        QString printLog;           // log entry of the print button
        QString deleteQuestion;
        QList<WindowKit::DeleteCheck> deleteChecks{};  // none: deleting needs only the question
        // When set, new and modify do nothing while the dataset's master is empty or its
        // current row has no value in this field yet (a row would belong to no record).
        QString masterKeyField{};
        // Runs before new and modify (a pending master row is saved first); false stops them.
        std::function<bool()> beforeChange{};
    };

    explicit RelatedRecordsTab(const Setup &tabSetup, QWidget *parent = nullptr);

    const Setup &setup() const { return m_setup; }
    // "new", "modify", "delete", "refresh", "print"; nullptr for any other name.
    QAction *action(const QString &which) const { return m_actions.value(which); }
    void setRelatedDialog(std::function<void()> show) { m_dialog = std::move(show); }

    // A record to attach rows to: always true without masterKeyField.
    bool hasMasterRecord() const;

private:
    void addNew();
    void modify();

    Setup m_setup;
    QHash<QString, QAction *> m_actions;
    std::function<void()> m_dialog;
};
