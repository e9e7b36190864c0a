#include "ListPage.h"

#include "DbGrid.h"

#include <QToolBar>
#include <QVBoxLayout>

ListPage::ListPage(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_bar = new QToolBar(this);
    m_bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(m_bar);
    m_grid = new DbGrid(this);
    layout->addWidget(m_grid, 1);
}
