#include "uUser.h"

#include "Dataset.h"
#include "DbCheckBox.h"
#include "DbComboBox.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbLookupCombo.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "Messages.h"
#include "PasswordHash.h"
#include "QueryDataset.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "uRight.h"
#include "udmMain.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const char *const BuiltInUser = "Admin";
const char *const NewUserPassword = "482716";

QString text(const char *field)
{
    Dataset *users = dmMain->tblUser;
    return users->isActive() && !users->isEmpty() ? users->field(s(field)).asString() : QString();
}

}  // namespace

QString TfrmUser::storedId() const
{
    return dmMain->tblUser->state() == Dataset::State::Insert ? QString() : m_storedId;
}

void TfrmUser::noteStoredId()
{
    // Taken in browse and as an edit starts, before any value changes: the ID as the file holds it.
    Dataset *users = dmMain->tblUser;
    const Dataset::State st = users->state();
    if (st == Dataset::State::Inactive || (st == Dataset::State::Browse && users->isEmpty()))
        m_storedId.clear();
    else if (st == Dataset::State::Browse || st == Dataset::State::Edit)
        m_storedId = users->field(s("UserID")).asString();
}

TfrmUser::TfrmUser(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmUser"));
    setWindowTitle(s("用户管理"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    DataSource *src = dmMain->dsUser;

    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    const auto button = [&](QPushButton *&b, const char *name, const char *caption, void (TfrmUser::*run)()) {
        b = new QPushButton(s(caption), this);
        b->setObjectName(s(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, run] { ErrorHandler::run(this, [&] { (this->*run)(); }); });
    };
    button(btnAdd, "btnAdd", "新增", &TfrmUser::add);
    button(btnSave, "btnSave", "保存", &TfrmUser::saveCommand);
    button(btnDelete, "btnDelete", "删除", &TfrmUser::remove);
    button(btnClose, "btnClose", "关闭", &TfrmUser::closeProcedure);
    button(btnRights, "btnRights", "权限分配", &TfrmUser::openRights);
    buttons->addStretch();
    layout->addLayout(buttons);

    auto *fields = new QGroupBox(s("用户资料"), this);
    auto *form = new QGridLayout(fields);
    form->setHorizontalSpacing(10);
    QList<QWidget *> order;
    int slot = 0;
    const auto place = [&](const char *label, QWidget *w, const char *field) {
        w->setObjectName(s("ed") + s(field));
        auto *l = new QLabel(s(label), fields);
        l->setBuddy(w);
        const int row = slot / 2;
        const int column = (slot % 2) * 2;
        form->addWidget(l, row, column);
        form->addWidget(w, row, column + 1);
        m_editors.insert(s(field).toLower(), w);
        order << w;
        ++slot;
    };
    const auto edit = [&](const char *label, const char *field) {
        auto *e = new DbEdit(fields);
        e->bind(src, s(field));
        place(label, e, field);
        return e;
    };
    DbEdit *id = edit("用  户ID：", "UserID");
    edit("用户名称：", "UserName");
    auto *dept = new DbLookupCombo(fields);
    dept->setList(dmMain->dsDepartment, s("DepartmentID"), s("DepartmentName"));
    dept->bind(src, s("DeptID"));
    place("部　　门：", dept, "DeptID");
    edit("职　　务：", "Duty");
    auto *state = new DbComboBox(fields);
    state->addItems({s("Yes"), s("No")});
    state->bind(src, s("State"));
    place("用户状态：", state, "State");
    edit("备    注：", "Memo");
    auto *sys = new DbCheckBox(s("是否系统管理员"), fields);
    sys->setObjectName(s("edSys"));
    sys->bind(src, s("Sys"));
    m_editors.insert(s("sys"), sys);
    form->addWidget(sys, 3, 1);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    layout->addWidget(fields);
    FocusChain::install(order, this);
    connect(id, &QLineEdit::textChanged, this, [this] { followIdText(); });
    connect(dmMain->tblUser, &Dataset::stateChanged, this, [this] { noteStoredId(); });
    connect(dmMain->tblUser, &Dataset::currentChanged, this, [this] {
        if (dmMain->tblUser->state() == Dataset::State::Browse)
            noteStoredId();
    });
    noteStoredId();

    auto *list = new QGroupBox(s("用户列表"), this);
    auto *listLayout = new QVBoxLayout(list);
    m_grid = new DbGrid(list);
    m_grid->setObjectName(s("userGrid"));
    m_grid->setColumns({GridColumn::text(s("用户ID"), s("UserID"), 90), GridColumn::text(s("用户名称"), s("UserName"), 110),
                        GridColumn::text(s("部门"), s("DeptName"), 100), GridColumn::text(s("职务"), s("Duty"), 90),
                        GridColumn::centred(s("用户状态"), s("State"), 70), GridColumn::text(s("备注"), s("Memo"), 120)});
    m_grid->setDataSource(src);
    // Only system users reach this window; asking again would move tblUser's row under a pending edit.
    m_grid->setExportPermission([] { return true; });
    listLayout->addWidget(m_grid);
    layout->addWidget(list, 1);
    connect(m_grid->view(), &QTreeView::clicked, this, [this] {
        m_remembered = storedId();
        if (dmMain->tblUser->state() != Dataset::State::Insert)
            editor(s("UserID"))->setEnabled(false);
    });

    setFixedSize(640, 480);
}

int TfrmUser::execute(QWidget *parent)
{
    TfrmUser dialog(parent);
    return Dialogs::showModal(&dialog);
}

void TfrmUser::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ErrorHandler::run(this, [this] {
        OpenDatasets({dmMain->tblDepartment, dmMain->tblUser});
        m_grid->sortBy(s("UserID"));
        noteStoredId();
        m_remembered = storedId();
        editor(s("UserID"))->setFocus();
        editor(s("UserID"))->setEnabled(false);
    });
}

void TfrmUser::followIdText()
{
    // The built-in user's ID never opens for typing.
    if (dmMain->tblUser->state() != Dataset::State::Insert)
        editor(s("UserID"))->setEnabled(storedId().compare(s(BuiltInUser), Qt::CaseInsensitive) != 0
                                        && text("UserID").compare(s(BuiltInUser), Qt::CaseInsensitive) != 0);
}

void TfrmUser::add()
{
    WriteLog(s("系统设置-用户管理-新增用户"));
    Dataset *users = dmMain->tblUser;
    OpenDatasets({users});
    editor(s("UserID"))->setEnabled(true);
    m_remembered.clear();
    editor(s("UserID"))->setFocus();
    users->append();
}

bool TfrmUser::checkRequired()
{
    static const std::pair<const char *, const char *> required[] = {
        {"UserID", "请输入用户编号！"},
        {"UserName", "请输入用户名称！"},
        {"DeptID", "请选择输入所在部门！"},
        {"Duty", "请输入用户职务！"},
    };
    for (const auto &[field, message] : required) {
        if (text(field).trimmed().isEmpty()) {
            Messages::warning(this, s(message));
            QWidget *w = editor(s(field));
            w->setEnabled(true);
            w->setFocus();
            return false;
        }
    }
    return true;
}

bool TfrmUser::refusesBuiltInUser()
{
    // The remembered ID, and the row's own stored ID (a row reached by keyboard).
    const QString builtIn = s(BuiltInUser);
    if (m_remembered.compare(builtIn, Qt::CaseInsensitive) != 0 && storedId().compare(builtIn, Qt::CaseInsensitive) != 0)
        return false;
    Messages::warning(this, s("对不起，系统默认用户不能修改！"));
    return true;
}

bool TfrmUser::refusesDuplicateId()
{
    // The unique index folds ASCII letters only; owner filters and the login fold every script.
    const QString id = text("UserID").toCaseFolded();
    QString own = storedId().toCaseFolded();
    QueryDataset *q = dmMain->qryPubQuery;
    q->close();
    q->setSql({s("select UserID from tblUser")});
    q->open();
    bool clash = false;
    for (q->first(); !q->isEof(); q->next()) {
        const QString other = q->field(s("UserID")).asString().toCaseFolded();
        if (other != id)
            continue;
        if (!own.isEmpty() && other == own) {
            own.clear();  // the row itself, once
            continue;
        }
        clash = true;
        break;
    }
    q->close();
    if (!clash)
        return false;
    Messages::warning(this, s("对不起，该用户ID已经存在！"));
    editor(s("UserID"))->setEnabled(true);
    editor(s("UserID"))->setFocus();
    return true;
}

void TfrmUser::saveCommand()
{
    WriteLog(s("系统设置-用户管理-保存用户"));
    save();
}

bool TfrmUser::save()
{
    Dataset *users = dmMain->tblUser;
    OpenDatasets({users});
    if (!checkRequired() || refusesBuiltInUser() || refusesDuplicateId())
        return false;
    if (users->state() == Dataset::State::Insert) {
        users->field(s("Password")).setValue(PasswordHash::make(s(NewUserPassword)));
        users->post();
        editor(s("UserID"))->setEnabled(false);
        m_remembered = storedId();
        Messages::information(this, s("新增用户口令为482716，请提醒用户及时修改！"));
        return true;
    }
    if (users->state() == Dataset::State::Browse)
        users->edit();
    editor(s("UserID"))->setEnabled(false);
    users->post();
    return true;
}

void TfrmUser::remove()
{
    WriteLog(s("系统设置-用户管理-删除用户"));
    Dataset *users = dmMain->tblUser;
    if (!users->isActive() || users->isEmpty())
        return;
    if (users->field(s("Sys")).asBoolean()) {
        Messages::warning(this, s("对不起,系统用户不能删除!"));
        return;
    }
    if (!Messages::confirmDelete(this, s("您真的要删除该用户吗？")))
        return;
    if (WindowKit::isEditing(users)) {
        users->cancel();
        // The row as stored decides: a pending untick does not make a system user deletable.
        if (users->isEmpty())
            return;
        if (users->field(s("Sys")).asBoolean()) {
            Messages::warning(this, s("对不起,系统用户不能删除!"));
            return;
        }
    }
    // The user and its rights go together, or neither does.
    const QString id = storedId();
    try {
        Transaction tx(*dmMain->database());
        QueryDataset *del = dmMain->qryDelUserRight;
        del->setParam(s("userID"), id);
        del->exec();
        users->remove();
        tx.commit();
    } catch (...) {
        dmMain->tblUserRight->close();
        dmMain->tblUserRight->open();
        throw;
    }
    dmMain->tblUserRight->close();
    dmMain->tblUserRight->open();
    m_remembered = storedId();
}

void TfrmUser::closeProcedure()
{
    Dataset *users = dmMain->tblUser;
    if (WindowKit::isEditing(users)) {
        if (!Messages::confirm(this, s("用户资料数据尚未保存，保存吗？"))) {
            users->cancel();
        } else {
            bool saved = false;
            ErrorHandler::run(this, [&] { saved = save(); });
            if (!saved)
                return;
        }
    }
    QDialog::reject();
}

void TfrmUser::reject()
{
    closeProcedure();
}

void TfrmUser::openRights()
{
    WriteLog(s("系统设置-用户管理-权限分配"));
    Dataset *users = dmMain->tblUser;
    if (!users->isActive() || users->isEmpty())
        return;
    // The rights are kept under the ID as stored: a new or changed row is saved first.
    if (WindowKit::isEditing(users)) {
        Messages::warning(this, s("请先保存用户资料！"));
        return;
    }
    TfrmRight::execute(this);
}
