#pragma once

#include "RecordDialog.h"

#include <QHash>

class DbNavigator;
class QAction;

// The contact-history dialog: one row of tblCustomerState, the current customer's
// history, with a navigator through that customer's records.
class TfrmCustStateNew : public RecordDialog
{
    Q_OBJECT

public:
    explicit TfrmCustStateNew(QWidget *parent = nullptr);

    // Creates the dialog on tblCustomerState's current row and shows it modally.
    static int execute(QWidget *parent);

    // The editor of a field ("LinkDate", "LinkTime", ...).
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    DbNavigator *navigator() const { return m_navigator; }
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Close = nullptr;

    // The five required fields in order: the first empty one gets its warning and the focus.
    bool checkRequired();
    // "保存": the checks, then the post of a pending row; false when a check stopped it.
    bool save();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QHash<QString, QWidget *> m_editors;
    DbNavigator *m_navigator = nullptr;
};
