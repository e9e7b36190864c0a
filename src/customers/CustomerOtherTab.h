#pragma once

#include <QHash>
#include <QWidget>

class QAction;

// The tab "其他资料": the current customer's additional information (bank and VAT
// particulars, tblCustomerAddInfo), one record per customer.
class CustomerOtherTab : public QWidget
{
    Q_OBJECT

public:
    explicit CustomerOtherTab(QWidget *parent = nullptr);

    // "modify", "save", "delete", "print".
    QAction *action(const QString &which) const { return m_actions.value(which); }
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }

private:
    void modify();

    QHash<QString, QAction *> m_actions;
    QHash<QString, QWidget *> m_editors;
};
