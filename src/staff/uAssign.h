#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// "正在分配资料到目标用户ID，请稍候...": the small progress window shown while an
// assignment runs; no buttons.
class TfrmUpdate : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmUpdate(QWidget *parent = nullptr);
};

// Work assignment: hands customers (with their contacts) or operations from one user to
// another by rewriting their owner. One run of "确认分配" is one transaction: it moves every
// chosen row or none.
class TfrmAssign : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAssign(QWidget *parent = nullptr);

    // Creates the window and shows it modally.
    static int execute(QWidget *parent);

    QComboBox *contentBox() const { return m_content; }
    QComboBox *sourceBox() const { return m_source; }
    QComboBox *targetBox() const { return m_target; }
    QListWidget *leftList() const { return m_left; }
    QListWidget *rightList() const { return m_right; }
    QPushButton *button(const QString &caption) const;
    TfrmUpdate *progress() const { return m_progress; }

    QStringList leftItems() const;
    QStringList rightItems() const;
    bool customersMode() const;

    // "刷    新".
    void refreshList();
    // ">>", ">", "<<", "<".
    void moveAll(bool toRight);
    void moveOne(bool toRight);
    // "确认分配"; true when every chosen row moved.
    bool assign();

    // Moves the owner of each code's rows to `target` inside one transaction; raises on any
    // error, with every row as it was.
    static void moveOwners(bool customers, const QStringList &codes, const QString &target);

private:
    void fillUsers();
    void clearLists();

    QComboBox *m_content = nullptr;
    QComboBox *m_source = nullptr;
    QComboBox *m_target = nullptr;
    QListWidget *m_left = nullptr;
    QListWidget *m_right = nullptr;
    QList<QPushButton *> m_buttons;
    TfrmUpdate *m_progress = nullptr;
};
