#pragma once

#include <vector>
#include <QList>
#include <QWidget>

class DbGrid;
class QLabel;
class QLineEdit;
class QToolButton;

// The find bar over a grid: moves the current row to the next row whose shown text holds
// what was typed (any case; Han text also by its pinyin, in full or by initials). It never
// filters, so what a user may see stays exactly what the window shows.
class GridFindBar : public QWidget
{
    Q_OBJECT

public:
    explicit GridFindBar(DbGrid *grid);

    QLineEdit *edit() const { return m_edit; }
    QString status() const;
    // Shows the bar with its text selected for typing.
    void open();
    // Moves to the next (or previous) match after the current row, wrapping; false when none.
    bool find(bool forward = true);
    // Drops the keys made so far (they are made again when a find asks for them).
    void forget();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const QString &keysOf(int visibleRow, const QList<int> &columns);

    DbGrid *m_grid;
    QLineEdit *m_edit;
    QLabel *m_status;
    QToolButton *m_next;
    QToolButton *m_previous;
    QList<int> m_cachedColumns;      // the shown columns the cached keys were made from
    std::vector<QString> m_keys;     // by dataset visible row: what it can be found by
    std::vector<bool> m_made;        // which of them are made
};
