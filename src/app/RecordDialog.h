#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class Dataset;

// A modal dialog over one record of a shared dataset. Its "关闭" procedure closes when
// nothing is pending; otherwise it asks whether to save: No cancels the change and
// closes, Yes runs the save and closes only when that succeeds. The close box and
// Escape run the same procedure, so no unchecked row stays pending in the dataset.
class RecordDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RecordDialog(QWidget *parent = nullptr);

    // The dataset the dialog edits, the save question and the save of the Yes answer
    // (false, or a raised error, keeps the dialog open with the row in edit).
    void setPending(Dataset *dataset, const QString &question, std::function<bool()> save);
    Dataset *dataset() const { return m_dataset; }

    // "关闭".
    void closeProcedure();
    void reject() override;

private:
    Dataset *m_dataset = nullptr;
    QString m_question;
    std::function<bool()> m_save;
};
