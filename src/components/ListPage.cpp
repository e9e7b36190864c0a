#include "ListPage.h"

#include "DbGrid.h"

#include <QLayout>
#include <QToolBar>
#include <QVBoxLayout>

QToolBar *ListPage::makeToolBar(QWidget *parent)
{
    auto *bar = new QToolBar(parent);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->setIconSize(QSize(16, 16));
    bar->setContentsMargins(0, 0, 0, 0);
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    return bar;
}

ListPage::ListPage(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_bar = makeToolBar(this);
    layout->addWidget(m_bar);
    m_grid = new DbGrid(this);
    layout->addWidget(m_grid, 1);
}
