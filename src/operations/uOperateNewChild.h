#pragma once

#include "RecordDialog.h"

#include <QHash>
#include <QList>

class DbNavigator;
class QAction;
class QPushButton;

// The item dialog: one item of the business record current in the business-record
// window (tblOperateDetail follows tblOperates2), with a navigator over the record's
// items. Every way off a pending item (new, a move, close) stores it checked and totalled.
class TfrmOperateNewChild : public RecordDialog
{
    Q_OBJECT

public:
    explicit TfrmOperateNewChild(QWidget *parent = nullptr);

    // Creates the dialog on tblOperateDetail's current row and shows it modally.
    static int execute(QWidget *parent);

    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    QList<QWidget *> enterOrder() const { return m_order; }
    DbNavigator *navigator() const { return m_navigator; }
    QPushButton *rateButton() const { return m_rate; }
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Close = nullptr;

    // The four required fields in order; the first showing no text gets its warning and focus.
    bool checkRequired();
    // Leaving "数    量：", changing the currency: the item's total and home-currency value.
    void recompute();
    // The save procedure: checks, totals, post. A duplicate code is told as such, any other
    // refusal in the standard error box; the focus then goes to the code. False when stopped.
    bool save();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QString, QWidget *> m_editors;
    QList<QWidget *> m_order;
    DbNavigator *m_navigator = nullptr;
    QPushButton *m_rate = nullptr;
    QWidget *m_amountEdit = nullptr;
};
