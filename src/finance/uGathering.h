#pragma once

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>

class DbGrid;
class QAction;
class QueryDataset;
class QWidget;

// The receivables and payables lists: one read-only grid over a grouped statement
// (each contract of one direction with its items' sum and what is still outstanding),
// hosted in the main window's client area. The two windows differ only in their
// direction: caption, right code, log texts, query, layout and the last two captions.
class TfrmInOut : public QObject
{
    Q_OBJECT

public:
    struct Direction
    {
        bool receivables;
        const char *objectName;
        const char *caption;      // also the value of InOutQueryCaller
        const char *rightCode;
        const char *layout;
        const char *sumCaption;   // "已收账款" / "已付账款"
        const char *restCaption;  // "未收账款" / "未付账款"
        const char *restField;    // the statement's last column
    };

    TfrmInOut(const Direction &direction, QObject *parent);
    ~TfrmInOut() override;

    QWidget *PnMain = nullptr;
    QAction *Act_Refresh = nullptr;
    QAction *Act_Query = nullptr;
    QAction *Act_Print = nullptr;
    QAction *Act_Close = nullptr;

    const Direction &direction() const { return m_direction; }
    QueryDataset *query() const;
    DbGrid *grid() const { return m_grid; }

    // What the main window's action does after its log entry and before the panel
    // shows: the list again without a date range.
    void open();
    // The list of contracts ending between the two dates, both included. False when the
    // database refused the statement (told in the standard error box; the list stays closed).
    bool openRange(QDate from, QDate to);
    // "刷新": the current statement again, with the date range last set.
    void refresh();

    // The window whose caption InOutQueryCaller names; nullptr for none.
    static TfrmInOut *byCaller(const QString &caller);

private:
    bool reopen(bool withRange, QDate from, QDate to);
    void query_();
    void print();
    void close();

    Direction m_direction;
    QPointer<QWidget> m_panel;
    DbGrid *m_grid = nullptr;
};

// The receivables window, caption "应收账款", over qryGathering.
class TfrmGathering : public TfrmInOut
{
    Q_OBJECT
public:
    explicit TfrmGathering(QObject *parent = nullptr);
    ~TfrmGathering() override;
};

// The payables window, caption "应付账款", over qryPayment.
class TfrmPayment : public TfrmInOut
{
    Q_OBJECT
public:
    explicit TfrmPayment(QObject *parent = nullptr);
    ~TfrmPayment() override;
};

extern TfrmGathering *frmGathering;
extern TfrmPayment *frmPayment;
