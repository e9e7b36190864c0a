// A gallery of the data-aware controls and the grid over demo data, for looking at them.
// qlmgallery [--screenshot FILE]
#include "AppFont.h"
#include "ConnectionString.h"
#include "DateText.h"
#include "DbCheckBox.h"
#include "DbComboBox.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbHyperlinkEdit.h"
#include "DbLookupCombo.h"
#include "DbMaskEdit.h"
#include "DbMemo.h"
#include "DbNavigator.h"
#include "DbNumberEdit.h"
#include "DemoData.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "NewDatabase.h"
#include "TableDataset.h"
#include "Utf8.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QMenu>
#include <QPainter>
#include <QLineEdit>
#include "GridFindBar.h"
#include <QTreeView>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    AppFont::apply(app);
    QString shot;
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--screenshot")));
    if (at > 0 && at + 1 < args.size())
        shot = args.at(at + 1);

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/gallery.qdb");
    NewDatabase::create(path);
    auto db = Database::open(path, ConnectionString::databasePassword().toUtf8());
    DemoData::add(*db, 1, QDate::currentDate());

    QWidget window;
    window.setWindowTitle(s("控件示例"));
    auto *levels = new TableDataset(db.get(), s("tblCustLevel"), s("tblCustLevel"), {}, &window);
    auto *states = new TableDataset(db.get(), s("tblCustState"), s("tblCustState"), {}, &window);
    auto *cust = new TableDataset(db.get(), s("tblCustomers"), s("tblCustomers"), {}, &window);
    cust->addLookup(s("LevelName"), s("LevelID"), levels, s("LevelID"), s("LevelName"));
    cust->addLookup(s("State"), s("StateId"), states, s("StateID"), s("StateName"));
    auto *contactState = new TableDataset(db.get(), s("tblCustomerState"), s("tblCustomerState"), {}, &window);
    contactState->setMaster(cust, s("CustId"), s("CustID"));
    auto *ds = new DataSource(s("dsCustomers"), cust, &window);
    auto *dsLevels = new DataSource(s("dsCustLevel"), levels, &window);
    auto *dsState = new DataSource(s("dsCustomerState"), contactState, &window);
    levels->open();
    states->open();
    cust->open();
    contactState->open();

    auto *grid = new DbGrid(&window);
    grid->setColumns({GridColumn::text(s("客户代码"), s("CustId"), 110), GridColumn::text(s("客户名称"), s("CustName"), 160),
                      GridColumn::text(s("主要联系人"), s("MainLinkman"), 90),
                      GridColumn::text(s("电话"), s("Telephone"), 110), GridColumn::text(s("客户级别"), s("LevelName"), 90),
                      GridColumn::text(s("客户状态"), s("State"), 80), GridColumn::text(s("建档日期"), s("CreateDate"), 90),
                      GridColumn::text(s("地址"), s("Address"), 240)});
    grid->setDataSource(ds);
    grid->groupBy(s("LevelName"));

    auto *form = new QGroupBox(s("客户详细资料"), &window);
    auto *fl = new QFormLayout(form);
    auto *code = new DbEdit(form);
    code->bind(ds, s("CustId"));
    auto *name = new DbEdit(form);
    name->bind(ds, s("CustName"));
    auto *level = new DbLookupCombo(form);
    level->bind(ds, s("LevelID"));
    level->setList(dsLevels, s("LevelID"), s("LevelName"));
    auto *kind = new DbComboBox(form);
    kind->addItems({s("电话联系"), s("登门拜访"), s("电子邮件联系"), s("应邀上门"), s("招待客户")});
    kind->bind(dsState, s("LinkType"));
    auto *created = new DbDateEdit(form);
    created->bind(ds, s("CreateDate"));
    auto *charge = new DbNumberEdit(form);
    charge->bind(dsState, s("Charge"));
    charge->setDecimals(2);
    auto *time = new DbMaskEdit(s("##:##:##"), form);
    time->bind(dsState, s("LinkTime"));
    auto *mail = new DbHyperlinkEdit(form);
    mail->bind(ds, s("Email"));
    auto *memo = new DbMemo(form);
    memo->bind(ds, s("Memo"));
    memo->setMaximumHeight(60);
    auto *nav = new DbNavigator(form);
    nav->bind(ds);
    const auto row = [&](const char *label, QWidget *w) {
        auto *l = new QLabel(s(label), form);
        l->setBuddy(w);
        fl->addRow(l, w);
    };
    row("客户代码：", code);
    row("客户名称：", name);
    row("客户级别：", level);
    row("建档日期：", created);
    row("电子邮件：", mail);
    row("联系方式：", kind);
    row("联系时间：", time);
    row("费用开销：", charge);
    row("备    注：", memo);
    auto *links = new TableDataset(db.get(), s("tblLinkmans"), s("tblLinkmans"), {}, &window);
    links->setMaster(cust, s("CustId"), s("CustID"));
    links->open();
    auto *main = new DbCheckBox(s("主要联系人"), form);
    main->bind(new DataSource(s("dsLinkmans"), links, &window), s("Main"));
    fl->addRow(QString(), main);
    fl->addRow(QString(), nav);
    FocusChain::install({code, name, level, created, mail, kind, time, charge, memo}, &window);

    auto *layout = new QHBoxLayout(&window);
    layout->addWidget(grid, 3);
    auto *side = new QVBoxLayout;
    side->addWidget(form);
    side->addStretch();
    layout->addLayout(side, 2);
    window.resize(1240, 640);
    window.show();
    cust->locate(s("CustId"), {s("C000002")});

    if (!shot.isEmpty()) {
        // The find bar open over the list, and a second picture with the header's menu.
        grid->findBar()->open();
        grid->findBar()->edit()->setText(s("wang"));
        grid->findBar()->find();
        QTimer::singleShot(600, &window, [&] {
            window.grab().save(shot);
            auto *menu = new QMenu(&window);
            menu->addAction(s("显示列…"));
            menu->addAction(s("恢复默认列"));
            menu->addSeparator();
            grid->addContextActions(menu);
            menu->popup(grid->mapToGlobal(QPoint(120, 40)));
            QTimer::singleShot(300, &window, [&window, menu, &app, shot] {
                QPixmap all = window.grab();
                QPainter p(&all);
                p.drawPixmap(window.mapFromGlobal(menu->pos()), menu->grab());
                p.end();
                all.save(QString(shot).replace(s(".png"), s("-menu.png")));
                app.quit();
            });
        });
    }
    return app.exec();
}
