#pragma once

#include <QDialog>
#include <functional>

class DbGrid;
class QAction;
class QPushButton;
class QueryDialog;

// The customer pick dialog, opened by the editors of other records to choose a customer:
// it lists tblCustomers2 under the owner rule, and "选择" writes the chosen customer's
// code into the field the caller named in CustomerPickCaller:
//   "联系人详细资料" → qryLinkmans1.CustID      (contact editor)
//   "相关客户"       → tblOperates2.CustID      (business record editors)
//   "联系客户"       → tblOperates2.LinkCustID
//   "联系客户1"      → tblOperates.LinkCustID
//   "日程安排"       → qryPlan.CustID           (plan editor, the main window's plan panel)
//   "受聘客户"       → tblYuangong.CustID       (worker window; qryPlan is left alone)
// Any other tag writes nothing.
class CustomerPickDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CustomerPickDialog(QWidget *parent = nullptr);

    // Creates the dialog and shows it modally.
    static int execute(QWidget *parent);
    // How "新增" and "详细资料" show the customer dialog; the customer folder sets it at start.
    static void setCustomerDialogOpener(std::function<void(QWidget *)> open);

    DbGrid *grid() const { return m_grid; }
    QPushButton *chooseButton() const { return m_choose; }
    QPushButton *quickButton() const { return m_quick; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QAction *Act_Add = nullptr;
    QAction *Act_Detail = nullptr;

    // "选择"; "取消" (also the close box and Escape): the owner rule again, then close.
    void choose();
    void reject() override;

    // The owner rule on tblCustomers2, as on showing: every customer for a system user,
    // the user's own otherwise.
    static void applyOwnerRule();
    // The quick query over tblCustomers2 (所有客户, 客户代码, 客户名称).
    static QueryDialog *makeQuickQuery(QWidget *parent);

private:
    DbGrid *m_grid = nullptr;
    QPushButton *m_choose = nullptr;
    QPushButton *m_quick = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
