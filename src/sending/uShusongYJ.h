#pragma once

#include "RecordDialog.h"

#include <QHash>

class DbNavigator;
class QAction;

// The settlement editor: one row of tblShusongYJ, the current unit's settlements, with a
// navigator through them. Nothing here writes a log entry.
class TfrmShusongYJ : public RecordDialog
{
    Q_OBJECT

public:
    explicit TfrmShusongYJ(QWidget *parent = nullptr);

    // Creates the editor on tblShusongYJ's current row and shows it modally.
    static int execute(QWidget *parent);

    // The editor of a field ("sNo", "JDate", ...).
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    DbNavigator *navigator() const { return m_navigator; }
    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Close = nullptr;

    // Item number, settlement date, handler in order: the first empty one gets its
    // warning and the focus.
    bool checkRequired();
    // "保存": the checks, then the post; false when a check stopped it.
    bool save();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QHash<QString, QWidget *> m_editors;
    DbNavigator *m_navigator = nullptr;
};
