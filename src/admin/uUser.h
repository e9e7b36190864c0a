#pragma once

#include <QDialog>
#include <QHash>

class DbCheckBox;
class DbGrid;
class QPushButton;

// User management ("用户管理"): the rows of tblUser, with the rights window of the
// current user one button away.
class TfrmUser : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmUser(QWidget *parent = nullptr);

    static int execute(QWidget *parent);

    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    DbGrid *grid() const { return m_grid; }
    QPushButton *btnAdd = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnDelete = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnRights = nullptr;

    // The user the built-in-user protection looks at: taken on show and on a grid click,
    // forgotten by "新增".
    QString rememberedId() const { return m_remembered; }

    void add();
    void saveCommand();
    // "保存" after its log entry (and the close question's OK): the checks, then the post.
    bool save();
    void remove();
    // "关闭": the save question when the row is pending.
    void closeProcedure();
    void openRights();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool checkRequired();
    bool refusesBuiltInUser();
    bool refusesDuplicateId();
    void followIdText();
    QString storedId() const;
    void noteStoredId();

    QHash<QString, QWidget *> m_editors;
    DbGrid *m_grid = nullptr;
    QString m_remembered;
    QString m_storedId;  // the current row's ID as stored
};
