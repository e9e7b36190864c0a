#pragma once

#include <QDialog>
#include <QHash>

class DbGrid;
class DbNavigator;
class QPushButton;

// "公告板": the notices of tblBoard with the filter it carries (the today view's, once it
// has run). "关闭", the close box and Escape drop a pending change and close.
class TfrmBoard : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmBoard(QWidget *parent = nullptr);

    // Creates the window and shows it modally.
    static int execute(QWidget *parent);

    DbGrid *grid() const { return m_grid; }
    DbNavigator *navigator() const { return m_navigator; }
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    QPushButton *addButton() const { return m_add; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *closeButton() const { return m_close; }

    void addNotice();
    // The four checks in order, then the post; false when a check stopped it.
    bool save();
    void removeNotice();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    DbGrid *m_grid = nullptr;
    DbNavigator *m_navigator = nullptr;
    QHash<QString, QWidget *> m_editors;
    QPushButton *m_add = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_close = nullptr;
};
