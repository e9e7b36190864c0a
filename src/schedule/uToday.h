#pragma once

#include <QDialog>
#include <QHash>
#include <QList>

class DbGrid;
class DbNavigator;
class QPushButton;
class QTabWidget;

// "今日事": business records due today, today's appointments and today's notices, read
// through the shared datasets, whose filters stay after the view closes.
class TfrmToday : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmToday(QWidget *parent = nullptr);

    // The on-show steps, then the view modally. When a pending edit of a shared dataset
    // cannot be posted the error is shown, nothing is re-filtered and the view does not open.
    static int execute(QWidget *parent);
    // The on-show steps: pending edits posted first (a refusal raises before any dataset
    // changes), then the user, customer, business-record, notice and appointment datasets.
    static void prepare();

    QTabWidget *tabs() const { return m_tabs; }
    DbGrid *grid(int tab) const;
    QWidget *editor(int tab, const QString &field) const;
    DbNavigator *boardNavigator() const { return m_navigator; }
    QPushButton *nextButton() const { return m_next; }
    QList<QPushButton *> boardButtons() const { return m_boardButtons; }

    // Closing (">>下一步", the close box, Escape) posts the changes typed here; a refused
    // post shows the error and keeps the view open with the change pending.
    void done(int result) override;

private:
    QWidget *buildOperatesTab();
    QWidget *buildPlanTab();
    QWidget *buildBoardTab();

    QTabWidget *m_tabs = nullptr;
    QList<DbGrid *> m_grids;
    QList<QHash<QString, QWidget *>> m_editors;
    DbNavigator *m_navigator = nullptr;
    QPushButton *m_next = nullptr;
    QList<QPushButton *> m_boardButtons;
};
