#pragma once

#include <QWidget>

class DbGrid;
class QToolBar;

// The list page of a record window: a row of text buttons over a DbGrid.
class ListPage : public QWidget
{
    Q_OBJECT

public:
    explicit ListPage(QWidget *parent = nullptr);

    QToolBar *toolBar() const { return m_bar; }

    // The windows' row of text buttons, kept low: the fixed client area has little height to spare.
    static QToolBar *makeToolBar(QWidget *parent);
    DbGrid *grid() const { return m_grid; }

private:
    QToolBar *m_bar;
    DbGrid *m_grid;
};
