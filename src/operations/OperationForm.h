#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

class Dataset;
class QPushButton;

// The fields and rules of one business record, written once for its two hosts: the
// record tab of the business-record window (tblOperates2, the customer chosen in a
// drop-down with "查询...") and the customer-side dialog (tblOperates, the customer given
// by the customer window). Holds the Enter order, the linked-customer rule, the computed
// amounts, the checks, and the save, close-save and delete procedures.
class OperationForm : public QWidget
{
    Q_OBJECT

public:
    enum class Host { Window, Dialog };

    OperationForm(Host host, QWidget *parent = nullptr);

    Host host() const { return m_host; }
    Dataset *dataset() const;
    // The editor of a field of tblOperates ("OperateID", "CustID", "CompactAmount", ...).
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    QList<QWidget *> enterOrder() const { return m_order; }
    QPushButton *customerPickButton() const { return m_pickCustomer; }  // the window only
    QPushButton *linkPickButton() const { return m_pickLink; }
    // The row holding the linked customer's drop-down and its "查询..." button.
    QWidget *linkedCustomerRow() const { return m_linkRow; }

    // The linked-customer field and its button are usable exactly while Link is checked.
    void applyLinkRule();

    // Leaving "合同金额：", changing "币别名称：", leaving "预计利润：".
    void amountLeft();
    void currencyChanged();
    void profitLeft();

    // A saved record's code typed over while items name the stored one: warning and
    // focus on the code; true then.
    bool refuseCodeChange();
    // The required fields in order; the first showing no text gets its warning and the
    // focus. `closePath`: the dialog's close question words the creation date's message.
    bool checkRequired(bool closePath);
    // The customer's document folder; the file tool lists it.
    void makeFolder();
    // "保存" with its log entry: code change, checks, folder, amounts, owner when empty,
    // post. False when a check stopped it; a refused post raises and the row stays pending.
    bool save();
    // The Yes answer of the dialog's close question: as "保存" but with no log entry and
    // the owner left as it is.
    bool saveOnClose();
    // The delete procedure with its log entry: the items check on the stored code, the
    // question, the delete (a new row is discarded).
    void remove(const QString &question);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool store(bool fillUser, bool closePath);
    void pick(const QString &caller);

    Host m_host;
    QHash<QString, QWidget *> m_editors;
    QList<QWidget *> m_order;
    QPushButton *m_pickCustomer = nullptr;
    QPushButton *m_pickLink = nullptr;
    QWidget *m_linkRow = nullptr;
    QWidget *m_amountEdit = nullptr;
    QWidget *m_profitEdit = nullptr;
};

// The text a field's control shows (blank when nothing is chosen or typed).
QString shownText(QWidget *editor);
