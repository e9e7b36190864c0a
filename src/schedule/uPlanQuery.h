#pragma once

#include <QDialog>

class QDateEdit;
class QPushButton;

// "日程查询": qryPlan over a range of plan dates, both ends included, or every entry;
// either switches off the filter the today view left on it.
class TfrmPlanQuery : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmPlanQuery(QWidget *parent = nullptr);

    // Creates the dialog and shows it modally.
    static int execute(QWidget *parent);

    QDateEdit *startEdit() const { return m_start; }
    QDateEdit *endEdit() const { return m_end; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *allButton() const { return m_all; }

    // "确定" and "查询全部". A pending entry that cannot be posted keeps the dialog open
    // with qryPlan's text and filter as they were.
    void queryRange();
    void queryAll();

private:
    QDateEdit *m_start = nullptr;
    QDateEdit *m_end = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_all = nullptr;
};
