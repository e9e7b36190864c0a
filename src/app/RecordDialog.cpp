#include "RecordDialog.h"

#include "Dataset.h"
#include "ErrorHandler.h"
#include "Messages.h"

RecordDialog::RecordDialog(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
}

void RecordDialog::setPending(Dataset *dataset, const QString &question, std::function<bool()> save)
{
    m_dataset = dataset;
    m_question = question;
    m_save = std::move(save);
}

void RecordDialog::closeProcedure()
{
    const bool pending = m_dataset && (m_dataset->state() == Dataset::State::Edit
                                       || m_dataset->state() == Dataset::State::Insert);
    if (pending) {
        if (!Messages::question(this, m_question)) {
            m_dataset->cancel();
        } else {
            bool saved = false;
            ErrorHandler::run(this, [&] { saved = m_save && m_save(); });
            if (!saved)
                return;
        }
    }
    QDialog::reject();
}

void RecordDialog::reject()
{
    closeProcedure();
}
