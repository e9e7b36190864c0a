#pragma once

#include <QDialog>
#include <QHash>
#include <QList>

class QCheckBox;
class QLineEdit;
class QTabWidget;

// The rights window ("权限分配"): the right codes of the user current in tblUser as
// tick boxes, one tab per group, each code with its sub-rights.
class TfrmRight : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmRight(QWidget *parent = nullptr);

    static int execute(QWidget *parent);

    // The box of a code ("301"), or of one of its sub-rights ("301", "Insert").
    QCheckBox *codeBox(const QString &code) const { return m_codes.value(code); }
    QCheckBox *subBox(const QString &code, const QString &column) const
    {
        return m_subs.value(code + u'/' + column.toLower());
    }
    // The "全部选择" box of a tab (by caption).
    QCheckBox *selectAllBox(const QString &tab) const { return m_selectAll.value(tab); }
    QTabWidget *tabs() const { return m_tabs; }
    QString shownUserId() const;

    // Ticks every box from the user's rows.
    void load();
    // "保存": the log entry, then the user's rows rewritten in one transaction.
    void save();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QCheckBox *addTab(const QString &caption, const QStringList &codes, const QStringList &outsideSelectAll);

    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_id = nullptr;
    QLineEdit *m_name = nullptr;
    QHash<QString, QCheckBox *> m_codes;
    QHash<QString, QCheckBox *> m_subs;
    QHash<QString, QCheckBox *> m_selectAll;
    bool m_system = false;  // the user shown is a system user
};
