#pragma once

#include <QDialog>

class DbGrid;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QStatusBar;
class QToolButton;

// "信封标签": one envelope per contact of qryLinkmans3, addressed to the contact at
// the customer's address, optionally with the agency's particulars as sender.
class TfrmEnvelop : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmEnvelop(QWidget *parent = nullptr);

    // Creates the window maximised and shows it modally.
    static int execute(QWidget *parent);

    QToolButton *btnQuery = nullptr;
    QToolButton *btnUserInfo = nullptr;
    QToolButton *btnPreview = nullptr;
    QToolButton *btnClose = nullptr;
    DbGrid *grdLinkmans = nullptr;
    QStatusBar *stbInfo = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};

// "标签设置": chooses the envelope with or without the sender and starts the preview.
class TfrmEnvelopSet : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmEnvelopSet(QWidget *parent = nullptr);
    static int execute(QWidget *parent);

    QCheckBox *chkUserInfo = nullptr;
    QGroupBox *grpUserInfo = nullptr;
    QPushButton *btnPreview = nullptr;
    QPushButton *btnCancel = nullptr;

    // "预览": the chosen layout over the contacts; the dialog stays open behind it.
    void preview();
};

// The tool window's envelope picture: refused without right 503, else the log entry,
// every contact, and the window.
void openEnvelopeFromTools(QWidget *parent);
