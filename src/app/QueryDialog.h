#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Dataset;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The "kind + text" query dialog: a drop-down of condition kinds (the first is the
// "all" kind) and a text edit enabled only for the other kinds and cleared when the
// kind changes; "确定" runs the window's handler, which keeps the dialog open by
// returning false; "取消", the close box and Escape close it and change nothing.
// With a date range, two radio buttons choose between two dates (start today − 30,
// end today) and the kind and text.
class QueryDialog : public QDialog
{
    Q_OBJECT

public:
    struct Setup
    {
        QString objectName;
        QString caption;
        QString kindLabel;   // empty: no label before the drop-down
        QString textLabel;
        QStringList kinds;   // the first is the "all" kind
        bool dateRange = false;
        QString rangeCaption{};  // "选择时间段查询："
        QString startLabel{};    // "起始时间："
        QString endLabel{};      // "截止时间："
        QString otherCaption{};  // "选择其他查询条件："
    };
    using Handler = std::function<bool(QueryDialog &)>;

    QueryDialog(const Setup &setup, Handler onOk, QWidget *parent = nullptr);

    int kind() const;
    bool isAllKind() const { return kind() <= 0; }
    QString text() const;  // trimmed: blanks only are empty
    bool rangeSelected() const;
    QDate startDate() const;
    QDate endDate() const;

    QComboBox *kindBox() const { return m_kind; }
    QLineEdit *textEdit() const { return m_text; }
    QRadioButton *rangeButton() const { return m_range; }
    QRadioButton *otherButton() const { return m_other; }
    QDateEdit *startEdit() const { return m_start; }
    QDateEdit *endEdit() const { return m_end; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    Handler m_onOk;
    QComboBox *m_kind = nullptr;
    QLineEdit *m_text = nullptr;
    QRadioButton *m_range = nullptr;
    QRadioButton *m_other = nullptr;
    QDateEdit *m_start = nullptr;
    QDateEdit *m_end = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

// A member of the family that filters one list by "<column> Like '%text%'": the typed
// text's quotes doubled, `%` and `_` keep their pattern meaning. The first kind lifts the
// filter; the others need text. A pending edit of the list is posted first (a refusal
// keeps the dialog open); a drop-down text that is none of the kinds changes nothing.
class LikeQueryDialog : public QueryDialog
{
    Q_OBJECT

public:
    struct Kind
    {
        const char *caption;
        const char *column;        // empty for the first kind
        const char *emptyMessage;  // the warning when no text is typed
    };
    // What a filter the data layer refuses leaves behind.
    enum class OnRefusal { KeepPrevious, FilterAnyway };
    struct Table
    {
        const char *objectName;
        const char *caption;
        std::vector<Kind> kinds;
        std::function<Dataset *()> list;
        OnRefusal onRefusal = OnRefusal::KeepPrevious;
    };

    LikeQueryDialog(const Table &table, QWidget *parent);

    // The filter of a kind other than the first for a trimmed text; empty for the first.
    static QString condition(const Table &table, int kind, const QString &text);
    // The warning for a kind whose text is empty.
    static QString emptyMessage(const Table &table, int kind);

private:
    bool run();
    const Table &m_table;
};

// The filter of the days from the earlier to the later of two dates, both included: one
// term "column=day" per day joined by " or ", each day in the short date format filters
// read. With an owner each term is "((column=day) and (sUser='owner'))", the owner's
// quotes doubled.
QString dayRangeFilter(const QString &column, QDate from, QDate to, const QString &owner = {});
