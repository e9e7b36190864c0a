#include "RelatedRecordsTab.h"

#include "DbGrid.h"
#include "Dataset.h"
#include "Utf8.h"
#include "uPublic.h"

#include <QAction>
#include <QToolBar>

RelatedRecordsTab::RelatedRecordsTab(const Setup &tabSetup, QWidget *parent) : ListPage(parent), m_setup(tabSetup)
{
    WindowKit::ToolRow row(toolBar(), this, m_setup.rightCode);
    const auto add = [this, &row](const char *which, const char *name, const QString &text, const char *subRight,
                                  std::function<void()> run) {
        m_actions.insert(s(which), row.add(name, text, subRight, "", std::move(run)));
    };
    add("new", "relatedNew", m_setup.newCaption, "Insert", [this] { addNew(); });
    add("modify", "relatedModify", s("修改"), "Modify", [this] { modify(); });
    add("delete", "relatedDelete", s("删除"), "Delete", [this] {
        WindowKit::deleteCurrent(this, m_setup.dataset, m_setup.deleteChecks, m_setup.deleteQuestion);
    });
    add("refresh", "relatedRefresh", s("刷新"), "", [this] {
        m_setup.dataset->close();
        m_setup.dataset->open();
    });
    add("print", "relatedPrint", s("打印"), "Print",
        [this] { WindowKit::print(this, m_setup.printLog, m_setup.layout, m_setup.dataset); });

    QList<GridColumn> columns = m_setup.columns;
    for (GridColumn &c : columns)
        if (m_setup.hiddenFields.contains(c.field, Qt::CaseInsensitive))
            c.hidden = true;
    grid()->setGroupPanelVisible(false);
    grid()->setColumns(columns);
    grid()->setDataSource(m_setup.source);
    // Exporting the tab discloses what its print button does: the same right.
    grid()->setExportPermission([code = m_setup.rightCode] { return HasSubRight(code, s("Print")); });
    if (!columns.isEmpty())
        grid()->sortBy(m_setup.sortField.isEmpty() ? columns.first().field : m_setup.sortField);
}

bool RelatedRecordsTab::hasMasterRecord() const
{
    if (m_setup.masterKeyField.isEmpty())
        return true;
    Dataset *master = m_setup.dataset->master();
    return master && master->isActive() && !master->isEmpty() && !master->field(m_setup.masterKeyField).isNull()
        && !master->field(m_setup.masterKeyField).asString().isEmpty();
}

void RelatedRecordsTab::addNew()
{
    if (!m_dialog || (m_setup.beforeChange && !m_setup.beforeChange()) || !hasMasterRecord())
        return;
    OpenDatasets({m_setup.dataset});
    m_setup.dataset->append();
    m_dialog();
}

void RelatedRecordsTab::modify()
{
    if (!m_dialog || (m_setup.beforeChange && !m_setup.beforeChange()) || !hasMasterRecord())
        return;
    m_setup.dataset->edit();
    m_dialog();
}
