#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

class DbDateEdit;
class DbGrid;
class DbLookupCombo;
class DbMaskEdit;
class DbNavigator;
class QAction;
class QPushButton;
class QTabWidget;
class QToolBar;

// The schedule list: a tool row with the actions it is given over a grid of qryPlan.
// Used as frmPlan's page and as the main window's tab "日程安排列表".
class PlanListPanel : public QWidget
{
    Q_OBJECT

public:
    // `operateCaption` heads the OperateId column ("业务项" or "业务内容").
    PlanListPanel(const QString &operateCaption, QWidget *parent = nullptr);

    QToolBar *toolBar() const { return m_bar; }
    DbGrid *grid() const { return m_grid; }
    // Double-click acts as `modify` while that action may run.
    void setModifyAction(QAction *modify);

private:
    QToolBar *m_bar;
    DbGrid *m_grid;
};

// One schedule entry: a tool row, the navigator, the nine fields of qryPlan and the
// customer's three tabs. Used as the main window's tab "日程详细安排" (Detail) and as
// frmPlanNew's page (Editor: the editor's own labels, "打开...", "显示客户资料" and
// double-click on the business and contact grids).
class PlanEntryPanel : public QWidget
{
    Q_OBJECT

public:
    enum class Variant { Detail, Editor };
    explicit PlanEntryPanel(Variant variant, QWidget *parent = nullptr);

    Variant variant() const { return m_variant; }
    QToolBar *toolBar() const { return m_bar; }
    DbNavigator *navigator() const { return m_navigator; }
    // The entry field of a qryPlan column ("PlanDate", "PlanTime", "Address", ...).
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    DbDateEdit *dateEdit() const;
    DbMaskEdit *timeEdit() const;
    DbLookupCombo *customerCombo() const;
    // A read-only field of the customer tab ("CustName", "HomePage", ...).
    QWidget *customerField(const QString &field) const { return m_customerFields.value(field.toLower()); }
    QTabWidget *customerTabs() const { return m_tabs; }
    DbGrid *operatesGrid() const { return m_operates; }
    DbGrid *statesGrid() const { return m_states; }
    QPushButton *pickButton() const { return m_pick; }
    QPushButton *mailButton() const { return m_mail; }
    QPushButton *openButton() const { return m_open; }            // Editor only
    QPushButton *customerButton() const { return m_customer; }    // Editor only
    QPushButton *operateButton() const { return m_operate; }
    QPushButton *stateButton() const { return m_state; }

    // The hooks' buttons are enabled only while their window is registered: asked again
    // whenever the panel is shown, since window folders install in any order.
    void updateHookButtons();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildCustomerTab();
    QWidget *buildGridTab(DbGrid *&grid, QPushButton *&button, const char *buttonText);

    Variant m_variant;
    QToolBar *m_bar = nullptr;
    DbNavigator *m_navigator = nullptr;
    QHash<QString, QWidget *> m_editors;
    QHash<QString, QWidget *> m_customerFields;
    QTabWidget *m_tabs = nullptr;
    DbGrid *m_operates = nullptr;
    DbGrid *m_states = nullptr;
    QPushButton *m_pick = nullptr;
    QPushButton *m_mail = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_customer = nullptr;
    QPushButton *m_operate = nullptr;
    QPushButton *m_state = nullptr;
};
