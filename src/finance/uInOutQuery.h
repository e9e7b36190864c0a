#pragma once

#include <QDialog>

class QDateEdit;
class QPushButton;

// The date dialog of the receivables and payables lists: "确定" lists, in the window
// InOutQueryCaller names, the contracts ending between the two dates (both included);
// "取消" changes nothing.
class TfrmInOutQuery : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmInOutQuery(QWidget *parent = nullptr);

    // Creates the dialog and shows it modally.
    static int execute(QWidget *parent);

    QDateEdit *startEdit() const { return m_start; }
    QDateEdit *endEdit() const { return m_end; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    void run();

    QDateEdit *m_start;
    QDateEdit *m_end;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
