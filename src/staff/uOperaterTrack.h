#pragma once

#include <QDate>
#include <QDialog>
#include <QHash>

class DbGrid;
class DbMemo;
class QAction;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Staff tracking: the customer contact records (tblCustomerState through tblOperaterTrack)
// with the customer's name and staff member; only the remark can be changed. The list
// stays empty until the first query.
class TfrmOperaterTrack : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmOperaterTrack(QWidget *parent = nullptr);

    // Creates the window and shows it modally.
    static int execute(QWidget *parent);

    QAction *Act_Close = nullptr;
    QAction *Act_Modify = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Query = nullptr;

    DbGrid *grid() const { return m_grid; }
    DbMemo *memo() const { return m_memo; }
    // The detail edit of a field (case-insensitive); nullptr when none.
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    QList<QWidget *> editors() const { return m_editors.values(); }

    // The close box, Escape and "关闭": a pending remark is stored first; a refusal keeps
    // the window open.
    void reject() override;

private:
    QWidget *buildDetail();
    DbGrid *m_grid = nullptr;
    DbMemo *m_memo = nullptr;
    QHash<QString, QWidget *> m_editors;
};

// "查询" of the tracking window: the records of one day, or those whose customer code or
// contact name contains a text. It stays open; the list behind it follows each query.
class TfrmOpTrackQuery : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmOpTrackQuery(QWidget *parent = nullptr);

    static int execute(QWidget *parent);

    // The filter for a day; for a kind ("按客户代码查询", "按联系人查询") and a text,
    // the text's quotes doubled (`%` and `_` keep their pattern meaning); empty text: none.
    // A kind that is neither item gives a null string: the list stays as it is.
    static QString dayFilter(const QDate &day);
    static QString textFilter(const QString &kind, const QString &text);

    QRadioButton *dateButton() const { return m_byDate; }
    QRadioButton *otherButton() const { return m_byOther; }
    QDateEdit *dateEdit() const { return m_date; }
    QComboBox *kindBox() const { return m_kind; }
    QLineEdit *textEdit() const { return m_text; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // "确定": applies the query; false when it failed (told) or changed nothing.
    bool run();

private:
    QRadioButton *m_byDate = nullptr;
    QRadioButton *m_byOther = nullptr;
    QDateEdit *m_date = nullptr;
    QComboBox *m_kind = nullptr;
    QLineEdit *m_text = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
