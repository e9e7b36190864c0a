#include "uBoard.h"

#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbNavigator.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QFormLayout>
#include <QLineEdit>
#include <functional>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmBoard::TfrmBoard(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmBoard"));
    setWindowTitle(s("公告板"));
    resize(600, 440);
    DataSource *src = dmMain->dsBoard;
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    const auto button = [&](const char *name, const char *text, std::function<void()> run) {
        auto *b = new QPushButton(s(text), this);
        b->setObjectName(s(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, run] { ErrorHandler::run(this, run); });
        top->addWidget(b);
        return b;
    };
    m_add = button("btnAdd", "新增", [this] { addNotice(); });
    m_save = button("btnSave", "保存", [this] { save(); });
    m_delete = button("btnDelete", "删除", [this] { removeNotice(); });
    m_close = button("btnClose", "关闭", [this] { reject(); });
    top->addStretch();
    m_navigator = new DbNavigator(this);
    m_navigator->bind(src);
    top->addWidget(m_navigator);
    layout->addLayout(top);

    m_grid = new DbGrid(this);
    m_grid->setObjectName(s("gridBoard"));
    m_grid->setGroupPanelVisible(false);
    m_grid->setColumns({GridColumn::text(s("主题"), s("BTitle"), 140), GridColumn::text(s("公告日期"), s("BDate"), 85),
                        GridColumn::text(s("公告人"), s("Man"), 70), GridColumn::text(s("事项描述"), s("Memo"), 260)});
    m_grid->setDataSource(src);
    layout->addWidget(m_grid, 1);

    auto *form = new QFormLayout;
    QList<QWidget *> order;
    const auto place = [&](const char *label, QWidget *w, const char *field) {
        w->setObjectName(s("ed") + s(field));
        auto *l = new QLabel(s(label), this);
        l->setBuddy(w);
        form->addRow(l, w);
        m_editors.insert(s(field).toLower(), w);
        order << w;
    };
    const auto edit = [&](const char *field) {
        auto *e = new DbEdit(this);
        e->bind(src, s(field));
        return e;
    };
    auto *date = new DbDateEdit(this);
    date->bind(src, s("BDate"));
    place("主    题：", edit("BTitle"), "BTitle");
    place("公告日期：", date, "BDate");
    place("公 告 人：", edit("Man"), "Man");
    place("事项描述：", edit("Memo"), "Memo");
    FocusChain::install(order, this);
    layout->addLayout(form);
}

int TfrmBoard::execute(QWidget *parent)
{
    TfrmBoard board(parent);
    return Dialogs::showModal(&board);
}

void TfrmBoard::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // No filter of its own: the one tblBoard carries stays.
    ErrorHandler::run(this, [] { OpenDatasets({dmMain->tblBoard}); });
    editor(s("BTitle"))->setFocus();
}

void TfrmBoard::addNotice()
{
    WriteLog(s("工具-公告板-新增"));
    OpenDatasets({dmMain->tblBoard});
    dmMain->tblBoard->append();
    editor(s("BTitle"))->setFocus();
}

bool TfrmBoard::save()
{
    WriteLog(s("工具-公告板-保存"));
    Dataset *board = dmMain->tblBoard;
    if (!board->isActive())
        return false;
    const struct
    {
        const char *field;
        const char *message;
    } checks[] = {{"BTitle", "请输入公告主题！"},
                  {"BDate", "请输入公告日期！"},
                  {"Man", "请输入公告人！"},
                  {"Memo", "请输入公告事项描述内容！"}};
    for (const auto &check : checks) {
        QWidget *w = editor(s(check.field));
        const QString text = qobject_cast<DbDateEdit *>(w) ? static_cast<DbDateEdit *>(w)->displayedText()
                                                           : static_cast<QLineEdit *>(w)->text();
        if (text.trimmed().isEmpty()) {
            Messages::warning(this, s(check.message));
            w->setFocus();
            return false;
        }
    }
    if (WindowKit::isEditing(board))
        board->post();
    return true;
}

void TfrmBoard::removeNotice()
{
    WriteLog(s("工具-公告板-删除"));
    Dataset *board = dmMain->tblBoard;
    if (board->isActive() && !board->isEmpty()
        && Messages::confirm(this, s("真的要删除该公告记录吗？"), Messages::Answer::Ok))
        board->remove();
}

void TfrmBoard::reject()
{
    ErrorHandler::run(this, [] {
        Dataset *board = dmMain->tblBoard;
        if (board->isActive() && WindowKit::isEditing(board))
            board->cancel();
    });
    QDialog::reject();
}
