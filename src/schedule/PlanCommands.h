#pragma once

#include <QString>

class PlanEntryPanel;
class QWidget;

// The one set of schedule commands behind the three schedule pages (frmPlan's list, the
// main window's two tabs, frmPlanNew's editor). Each writes its log entry first.
namespace PlanCommands {

// Act_Plan after the main window's log entry: the code and customer datasets, the owner
// rule on tblCustomers2, qryPlan re-read (pending edits posted first: a failed post
// raises and nothing changes), the Plans folder.
void openSchedule();

// "新增": a new row of qryPlan on the editor page. `fromEditor`: the editor's own "新增",
// which stays where it is and leaves the file list alone.
void insert(bool fromEditor);
// "修改" and double-click on a list: the current row in edit on the editor page.
void modify();
// "保存" of the detail tab and the editor: log entry, the six checks on `panel`, the
// Plans folder, the post. False when a check stopped it.
bool save(PlanEntryPanel *panel);
// The checks of "保存" (the contact person only with `checkLinkman`): the first failing
// one shows its message and focuses its field; false then.
bool checkEntry(PlanEntryPanel *panel, bool checkLinkman);
// The text of the time field that the checks read: without its trailing blanks and the
// separators they leave dangling ("09:30:  " → "09:30").
QString typedTime(const QString &stored);
// "删除": log entry, then on a non-empty list the question and the delete.
void remove(QWidget *parent);
// "刷新": log entry, qryPlan re-read with its filter kept.
void refresh();
// "查询": log entry, then the query dialog.
void query(QWidget *parent);
// "打印": frPlan (list pages and the detail tab) or frPlanDetail (editor page).
void print(QWidget *parent, bool detailLayout);
// "放弃": a pending change of qryPlan cancelled.
void cancel();
// The editor's "关闭": the save question when something is pending, then frmPlan's page.
void closeEditor();

// frmPlan's list page, for pages that close back to it.
void showListPage();
// frmPlanNew's editor page.
void showEditorPage();

// Row click, the navigator, save: the file list at Files/Plans (made when missing).
void syncFolder();
// The customer tabs follow the entry: tblCustomers2 and tblCustomers on qryPlan's customer.
void followCustomer();

// The customer tabs' buttons.
void pickCustomer(QWidget *parent);
void sendMail();
void openHomePage();
void showCustomer();
void showOperate(QWidget *parent);
void showState(QWidget *parent);

}  // namespace PlanCommands
