#include "RelatedRecordsTab.h"

#include "DbGrid.h"
#include "Utf8.h"
#include "uPublic.h"

#include <QAction>
#include <QToolBar>

RelatedRecordsTab::RelatedRecordsTab(const Spec &spec, QWidget *parent) : ListPage(parent), m_spec(spec)
{
    const auto add = [this](const char *which, const char *name, const QString &text, const char *subRight,
                            std::function<void()> run) {
        QAction *a = WindowKit::gatedAction(this, {s(name), text, m_spec.rightCode, s(subRight), {}}, std::move(run));
        toolBar()->addAction(a);
        m_actions.insert(s(which), a);
    };
    add("new", "relatedNew", m_spec.newCaption, "Insert", [this] { addNew(); });
    add("modify", "relatedModify", s("修改"), "Modify", [this] { modify(); });
    add("delete", "relatedDelete", s("删除"), "Delete", [this] {
        WindowKit::deleteCurrent(this, m_spec.dataset, m_spec.deleteChecks, m_spec.deleteQuestion);
    });
    add("refresh", "relatedRefresh", s("刷新"), "", [this] {
        m_spec.dataset->close();
        m_spec.dataset->open();
    });
    add("print", "relatedPrint", s("打印"), "Print",
        [this] { WindowKit::print(this, m_spec.printLog, m_spec.layout, m_spec.dataset); });

    QList<GridColumn> columns = m_spec.columns;
    for (GridColumn &c : columns)
        if (m_spec.hiddenFields.contains(c.field, Qt::CaseInsensitive))
            c.hidden = true;
    grid()->setGroupPanelVisible(false);
    grid()->setColumns(columns);
    grid()->setDataSource(m_spec.source);
    if (!columns.isEmpty())
        grid()->sortBy(m_spec.sortField.isEmpty() ? columns.first().field : m_spec.sortField);
}

void RelatedRecordsTab::addNew()
{
    if (!m_dialog)
        return;
    OpenDatasets({m_spec.dataset});
    m_spec.dataset->append();
    m_dialog();
}

void RelatedRecordsTab::modify()
{
    if (!m_dialog)
        return;
    m_spec.dataset->edit();
    m_dialog();
}
