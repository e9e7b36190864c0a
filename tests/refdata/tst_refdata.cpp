// The code-table editors and the colour palette: every member's captions, checks in order,
// log entries, rights, the database's refusals, closing, lookups; the palette's colours;
// the read-only editor opened by window name without the table's right.
#include "ActionGate.h"
#include "CodeTableEditor.h"
#include "CodeTables.h"
#include "ColourValue.h"
#include "DatasetModel.h"
#include "DbColourCombo.h"
#include "DbComboBox.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbNumberEdit.h"
#include "LogEntries.h"
#include "PasswordHash.h"
#include "RefdataWindows.h"
#include "SeamRecorder.h"
#include "TableInserter.h"
#include "TestDb.h"
#include "uColor.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

int count(const QString &sql)
{
    return dmMain->database()->scalar(sql).toInt();
}

QString tableOf(const CodeTable &t)
{
    return (dmMain->*(t.source))->dataset()->objectName();
}

// A value a user gives each kind of edit.
QString sampleFor(const CodeTableField &f, const QString &code)
{
    switch (f.kind) {
    case CodeTableField::Kind::Choice:
        return f.choices.value(1);
    case CodeTableField::Kind::Colour:
        return QString::number(0x00FF00);
    case CodeTableField::Kind::Number:
        return s("6.5");
    default:
        return f.field.endsWith(u"ID", Qt::CaseInsensitive) || f.field.endsWith(u"Id") ? code : s("新") + code;
    }
}

// Gives an edit a value the way a user does: typing, or picking from the list.
void fill(QWidget *w, const QString &value)
{
    if (auto *c = qobject_cast<QComboBox *>(w)) {
        const int i = c->findText(value);
        QVERIFY2(i >= 0, qPrintable(value));
        c->setCurrentIndex(i);
        Q_EMIT c->activated(i);
    } else if (auto *n = qobject_cast<DbNumberEdit *>(w)) {
        n->lineEdit()->setFocus();
        typeText(n->lineEdit(), value);
    } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->setFocus();
        typeText(e, value);
    }
}

bool editorReadOnly(QWidget *w)
{
    if (auto *c = qobject_cast<DbColourCombo *>(w))
        return c->isReadOnly();
    if (auto *c = qobject_cast<DbComboBox *>(w))
        return c->isReadOnly();
    if (auto *n = qobject_cast<DbNumberEdit *>(w))
        return n->lineEdit()->isReadOnly();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->isReadOnly();
    return false;
}

}  // namespace

class TestRefdata : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void colourValue_data();
    void colourValue();
    void membersOpenFromTheirCommands_data();
    void membersOpenFromTheirCommands();
    void checksInOrder_data();
    void checksInOrder();
    void enterOrder_data();
    void enterOrder();
    void refusedPost_data();
    void refusedPost();
    void subRightsGateAddAndDelete_data();
    void subRightsGateAddAndDelete();
    void deleteAsks_data();
    void deleteAsks();
    void deleteOnAnEmptyTableOnlyLogs_data();
    void deleteOnAnEmptyTableOnlyLogs();
    void closeDiscardsThePendingRow_data();
    void closeDiscardsThePendingRow();
    void everyMemberDiscardsOnClose_data();
    void everyMemberDiscardsOnClose();
    void addChecksThePendingRowFirst();
    void gridMoveChecksThePendingRow_data();
    void gridMoveChecksThePendingRow();
    void changesShowInLookupsAtOnce();
    void newCodesShowInCustomerLookups_data();
    void newCodesShowInCustomerLookups();
    void openedByNameWithoutTheRightIsReadOnly_data();
    void openedByNameWithoutTheRightIsReadOnly();
    void paletteAddsAColourEveryListOffers();
    void paletteCancelAddsNothing();
    void paletteDeleteLeavesCodesAsTheyWere();
    void paletteDeleteOnAnEmptyPalette();
    void paletteButtonOpensThePalette();
    void gridAndListShowSwatches();

private:
    void login(const QString &user);
    std::unique_ptr<CodeTableEditor> openEditor(const QString &window);
    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestRefdata::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
    auto db = m_template->open();
    Transaction tx(*db);
    const QString hash = PasswordHash::make(s("pw"), 1000);
    TableInserter user(*db, s("tblUser"), {s("UserID"), s("Password"), s("Sys")});
    for (const char *id : {"wang", "guest", "nobody"})
        user.insert({s(id), hash, false});
    TableInserter right(*db, s("tblUserRight"),
                        {s("UserID"), s("RightID"), s("Insert"), s("Modify"), s("Delete"), s("Query"), s("Print")});
    for (const CodeTable &t : codeTables()) {
        right.insert({s("wang"), t.rightCode, true, true, true, true, true});
        right.insert({s("guest"), t.rightCode, false, true, false, true, true});
    }
    right.insert({s("nobody"), s("301"), true, true, true, true, true});
    TableInserter c(*db, s("tblCustomers"), {s("CustId"), s("CustName"), s("SUser"), s("LevelID"), s("DistID")});
    c.insert({s("C1"), s("客户一"), s("wang"), s("A"), s("01")});
    tx.commit();
}

void TestRefdata::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installRefdataWindows(*m_main);
}

void TestRefdata::cleanup()
{
    for (Dataset *d : dmMain->findChildren<Dataset *>())
        if (d->state() == Dataset::State::Edit || d->state() == Dataset::State::Insert)
            d->cancel();
    m_main.reset();
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestRefdata::login(const QString &user)
{
    CurrentUserID = user;
    QVERIFY(m_main->prepareAfterLogin());
    ActionGate::instance()->evaluate();
}

std::unique_ptr<CodeTableEditor> TestRefdata::openEditor(const QString &window)
{
    const CodeTable *t = codeTable(window);
    if (!t)
        return nullptr;
    OpenDatasets({(dmMain->*(t->source))->dataset(), dmMain->tblColor});
    auto editor = std::make_unique<CodeTableEditor>(*t, !HasRight(t->rightCode));
    editor->show();
    editor->activateWindow();
    if (!QTest::qWaitForWindowActive(editor.get()))
        return nullptr;
    ActionGate::instance()->evaluate();
    return editor;
}

void TestRefdata::colourValue_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<qint64>("value");
    QTest::newRow("pure red is the lowest byte") << QColor(255, 0, 0) << qint64(255);
    QTest::newRow("green") << QColor(0, 255, 0) << qint64(0x00FF00);
    QTest::newRow("blue is the third byte") << QColor(0, 0, 255) << qint64(0xFF0000);
    QTest::newRow("mixed") << QColor(1, 2, 3) << qint64(0x030201);
    QTest::newRow("white") << QColor(255, 255, 255) << qint64(0xFFFFFF);
    QTest::newRow("black") << QColor(0, 0, 0) << qint64(0);
}

void TestRefdata::colourValue()
{
    QFETCH(QColor, colour);
    QFETCH(qint64, value);
    QCOMPARE(ColourValue::fromColour(colour), value);
    QCOMPARE(ColourValue::toColour(value), colour);
    QColor translucent = colour;
    translucent.setAlpha(40);
    QCOMPARE(ColourValue::fromColour(translucent), value);  // alpha is not stored
    QVERIFY(!ColourValue::swatch(value).isNull());
    // Values no colour stands for: a system colour's high byte, negatives, an invalid colour.
    QVERIFY(!ColourValue::toColour(value | 0x80000000LL).isValid());
    QVERIFY(!ColourValue::toColour(-value - 1).isValid());
    QVERIFY(ColourValue::swatch(0x1000000).isNull());
    QCOMPARE(ColourValue::fromColour(QColor()), qint64(-1));
}

void TestRefdata::membersOpenFromTheirCommands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QString>("palette");
    const auto row = [](const char *action, const char *window, const char *caption, const char *title,
                        const char *opening, const char *tab, QStringList columns, const char *palette) {
        QTest::newRow(window) << s(action) << s(window) << s(caption) << s(title) << s(opening) << s(tab) << columns
                              << s(palette);
    };
    row("Act_CustLevel", "frmCustLevel", "客户级别设置", "客户级别设置列表：", "基础资料-客户级别定义", "基础资料",
        {"客户级别代码", "客户级别名称", "颜色设置", "描述"}, "颜色信息");
    row("Act_CustState", "frmState", "客户状态设置", "客户状态设置列表：", "基础资料-客户状态定义", "基础资料",
        {"状态代码", "状态名称", "颜色设置", "描述"}, "颜色信息");
    row("Act_CustOrigin", "frmCustOrigin", "客户来源设置", "客户来源设置列表：", "基础资料-客户来源定义", "基础资料",
        {"客户来源代码", "来源名称", "颜色设置", "描述"}, "颜色设置");
    row("Act_Vocation", "frmVocation", "客户类型设置", "客户类型列表：", "基础资料-行业类别设置", "基础资料",
        {"类型代码", "类型名称", "颜色设置", "描述"}, "颜色信息");
    row("Act_OperateStyle", "frmOperateStyle", "业务类型设置", "业务类型设置列表：", "基础资料-业务类型设置", "基础资料",
        {"业务类型代码", "业务类型名称", "颜色设置", "描述"}, "颜色信息");
    row("Act_OperateOrigin", "frmOperateOrigin", "业务来源设置", "业务来源设置列表：", "基础资料-业务来源设置",
        "基础资料", {"业务来源代码", "来源名称", "颜色设置", "描述"}, "颜色信息");
    row("Act_OperateState", "frmOperateState", "业务状态设置", "业务状态设置列表：", "基础资料-业务状态设置", "基础资料",
        {"业务状态代码", "业务状态名称", "颜色设置", "描述"}, "颜色信息");
    row("Act_Region", "frmRegion", "所在区设置", "所在区设置列表：", "基础资料-地区设置", "基础资料",
        {"区域代码", "区域名称", "颜色设置", "描述"}, "颜色信息");
    row("Act_Country", "frmCountry", "国家信息", "国家信息列表：", "基础资料-国家信息", "基础资料",
        {"国家代码", "国家名称", "所在洲", "颜色设置", "描述"}, "颜色信息");
    row("Act_CurrencyRate", "frmCurrencyRate", "币别汇率设置", "币别汇率设置列表：", "基础资料-币别汇率设置", "基础资料",
        {"币别代码", "币别名称", "汇率", "备注"}, "");
    row("Act_FinanceOrgan", "frmFinanceOrgan", "金融机构设置", "金融机构列表：", "基础资料-金融机构设置", "基础资料",
        {"机构代码", "机构名称", "描述"}, "");
    row("Act_Department", "frmDepartment", "部门设置", "部门设置列表：", "内部管理-部门设置", "内部管理",
        {"部门代码", "部门名称", "描述"}, "");
}

void TestRefdata::membersOpenFromTheirCommands()
{
    QFETCH(QString, action);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QString, title);
    QFETCH(QString, opening);
    QFETCH(QString, tab);
    QFETCH(QStringList, columns);
    QFETCH(QString, palette);
    login(s("Admin"));
    bool seen = false;
    m_rec->onModal = [&](QDialog *d) -> int {
        auto *e = qobject_cast<CodeTableEditor *>(d);
        if (!e)
            return QDialog::Rejected;
        seen = true;
        [&] {
            QCOMPARE(e->windowTitle(), caption);
            QCOMPARE(e->gridTitle()->text(), title);
            QStringList shown;
            for (const GridColumn &c : e->grid()->model()->columns())
                shown << c.caption;
            QCOMPARE(shown, columns);
            QCOMPARE(e->paletteButton() ? e->paletteButton()->text() : QString(), palette);
            QVERIFY(!e->isReadOnly());
            QVERIFY(e->dataset()->isActive());
            QVERIFY(e->grid()->model()->rowCount() > 0);
            // Every edit has its caption label as buddy.
            for (QWidget *w : e->enterOrder()) {
                bool labelled = false;
                for (QLabel *l : e->findChildren<QLabel *>())
                    labelled = labelled || l->buddy() == w;
                QVERIFY2(labelled, qPrintable(w->objectName()));
            }
        }();
        return QDialog::Rejected;
    };
    m_main->action(action)->trigger();
    QVERIFY(seen);
    QCOMPARE(m_rec->modalWindows, QStringList{window});
    QCOMPARE(logEntries().last(), opening);
    QCOMPARE(m_main->currentNavigationTab(), tab);
    QVERIFY(m_rec->messages.isEmpty());
}

void TestRefdata::checksInOrder_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("prefix");
    const auto row = [](const char *window, QStringList messages, const char *prefix) {
        QTest::newRow(window) << s(window) << messages << s(prefix);
    };
    row("TfrmCustLevel", {"请输入客户级别代码！", "请输入客户级别名称！", "请选择输入客户级别颜色设置！", "请输入客户级别描述！"},
        "基础资料-客户级别定义");
    row("TfrmState", {"请输入客户状态代码！", "请输入客户状态名称！", "请选择输入客户状态颜色设置！", "请输入客户状态描述！"},
        "基础资料-客户状态定义");
    row("TfrmCustOrigin",
        {"请输入客户来源代码！", "请输入客户来源名称！", "请选择输入客户来源颜色设置！", "请输入客户来源描述！"},
        "基础资料-客户来源定义");
    row("TfrmVocation", {"请输入行业代码！", "请输入行业名称！", "请选择输入颜色信息！", "请输入行业描述！"},
        "基础资料-行业类别设置");
    row("TfrmOperateStyle",
        {"请输入业务类型代码！", "请输入业务类型名称！", "请选择输入业务类型颜色设置！", "请输入业务类型描述！"},
        "基础资料-业务类型设置");
    row("TfrmOperateOrigin",
        {"请输入业务来源代码！", "请输入业务来源名称！", "请选择输入业务来源颜色设置！", "请输入业务来源描述！"},
        "基础资料-业务来源设置");
    row("TfrmOperateState",
        {"请输入业务状态代码！", "请输入业务状态名称！", "请选择输入业务状态颜色设置！", "请输入业务状态描述！"},
        "基础资料-业务状态设置");
    row("TfrmRegion", {"请输入地区代码！", "请输入地区名称！", "请选择您要设置的颜色！", "请输入地区描述！"},
        "基础资料-地区设置");
    row("TfrmCountry",
        {"请输入国家代码！", "请输入国家名称！", "请选择所在的洲名称！", "请选择您要设置的颜色！", "请输入描述内容！"},
        "基础资料-国家信息");
    row("TfrmCurrencyRate", {"请输入币别代码！", "请输入币别名称！", "请输入币别汇率！", "请输入备注内容！"},
        "基础资料-币别汇率设置");
    row("TfrmFinanceOrgan", {"请输入金融机构代码！", "请输入金融机构名称！", "请输入金融机构描述！"},
        "基础资料-金融机构设置");
    row("TfrmDepartment", {"请输入部门代码！", "请输入部门名称！", "请输入部门描述！"}, "基础资料-部门设置");
}

// Each field left empty in turn, the ones before it filled: its message, its focus, nothing
// written; the description's message only once the database refused the row.
void TestRefdata::checksInOrder()
{
    QFETCH(QString, window);
    QFETCH(QStringList, messages);
    QFETCH(QString, prefix);
    login(s("wang"));
    auto e = openEditor(window);
    QVERIFY(e);
    const CodeTable &t = e->table();
    Dataset *d = e->dataset();
    const QString table = tableOf(t);
    const int before = count(s("select count(*) from ") + table);
    QCOMPARE(e->focusWidget(), e->enterOrder().first());
    e->Act_Add->trigger();
    QCOMPARE(d->state(), Dataset::State::Insert);
    QCOMPARE(e->focusWidget(), e->enterOrder().first());
    QCOMPARE(t.fields.size(), messages.size());
    for (int i = 0; i < t.fields.size(); ++i) {
        const CodeTableField &f = t.fields.at(i);
        ActionGate::instance()->evaluate();
        e->Act_Save->trigger();
        QCOMPARE(m_rec->lastText(), messages.at(i));
        QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
        QCOMPARE(m_rec->messages.last().caption, s("系统提示"));
        QCOMPARE(e->focusWidget() == e->editor(f.field) || e->editor(f.field)->isAncestorOf(e->focusWidget()), true);
        QCOMPARE(d->state(), Dataset::State::Insert);
        QCOMPARE(count(s("select count(*) from ") + table), before);
        fill(e->editor(f.field), sampleFor(f, s("N9")));
    }
    QCOMPARE(m_rec->texts(), messages);
    ActionGate::instance()->evaluate();
    e->Act_Save->trigger();
    QCOMPARE(m_rec->texts(), messages);  // nothing more
    QCOMPARE(d->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from ") + table), before + 1);
    const QString code = t.fields.first().field;
    QCOMPARE(dmMain->database()->scalar(s("select %1 from %2 where %3 = 'N9'").arg(t.fields.at(1).field, table, code))
                 .toString(),
             s("新N9"));
    QStringList expected{prefix + s("-新增")};
    for (int i = 0; i <= messages.size(); ++i)
        expected << prefix + s("-保存");
    QCOMPARE(logEntries().mid(logEntries().size() - expected.size()), expected);
}

void TestRefdata::enterOrder_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("level") << s("TfrmCustLevel") << QStringList{"LevelID", "LevelName", "LevelColor", "Memo"};
    QTest::newRow("country") << s("TfrmCountry")
                             << QStringList{"CountryID", "CountryName", "Continent", "CountryColor", "Memo"};
    QTest::newRow("currency") << s("TfrmCurrencyRate") << QStringList{"CurrID", "CurrName", "Rate", "Memo"};
    QTest::newRow("department") << s("TfrmDepartment") << QStringList{"DepartmentID", "DepartmentName", "Memo"};
}

void TestRefdata::enterOrder()
{
    QFETCH(QString, window);
    QFETCH(QStringList, fields);
    login(s("Admin"));
    auto e = openEditor(window);
    QVERIFY(e);
    QCOMPARE(e->enterOrder().size(), fields.size());
    for (int i = 0; i < fields.size(); ++i) {
        QWidget *expected = e->editor(fields.at(i));
        QVERIFY2(expected == e->focusWidget() || expected->isAncestorOf(e->focusWidget()), qPrintable(fields.at(i)));
        QTest::keyClick(e->focusWidget(), Qt::Key_Return);
    }
}

void TestRefdata::refusedPost_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("description");
    QTest::addColumn<QString>("message");  // empty: the database's own error
    // A code each table already holds.
    const std::pair<const char *, const char *> held[] = {
        {"TfrmCustLevel", "A"},       {"TfrmState", "01"},         {"TfrmCustOrigin", "01"},
        {"TfrmVocation", "01"},       {"TfrmOperateStyle", "01"},  {"TfrmOperateOrigin", "01"},
        {"TfrmOperateState", "01"},   {"TfrmRegion", "01"},        {"TfrmCountry", "CN"},
        {"TfrmCurrencyRate", "USD"},  {"TfrmFinanceOrgan", "01"},  {"TfrmDepartment", "01"}};
    for (const auto &[window, code] : held)
        QTest::newRow(qPrintable(s(window) + s(", duplicate code"))) << s(window) << s(code) << true << QString();
    QTest::newRow("level, duplicate code in other case") << s("TfrmCustLevel") << s("a") << true << QString();
    QTest::newRow("level, no description") << s("TfrmCustLevel") << s("Q") << false << s("请输入客户级别描述！");
    QTest::newRow("currency, no description") << s("TfrmCurrencyRate") << s("EUR") << false << s("请输入备注内容！");
    QTest::newRow("department, duplicate and no description")
        << s("TfrmDepartment") << s("01") << false << s("请输入部门描述！");
}

void TestRefdata::refusedPost()
{
    QFETCH(QString, window);
    QFETCH(QString, code);
    QFETCH(bool, description);
    QFETCH(QString, message);
    login(s("Admin"));
    auto e = openEditor(window);
    QVERIFY(e);
    const CodeTable &t = e->table();
    const int before = count(s("select count(*) from ") + tableOf(t));
    e->Act_Add->trigger();
    for (const CodeTableField &f : t.fields)
        if (f.kind != CodeTableField::Kind::Description || description)
            fill(e->editor(f.field), f.field == t.fields.first().field ? code : sampleFor(f, code));
    ActionGate::instance()->evaluate();
    e->Act_Save->trigger();
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Warning);
    if (message.isEmpty()) {
        QVERIFY2(m_rec->lastText().contains(s("代码重复")), qPrintable(m_rec->lastText()));
    } else {
        QCOMPARE(m_rec->lastText(), message);
        QCOMPARE(e->focusWidget(), e->editor(s("Memo")));
    }
    QCOMPARE(e->dataset()->state(), Dataset::State::Insert);  // the row stays in edit
    QCOMPARE(count(s("select count(*) from ") + tableOf(t)), before);
    e->Act_Close->trigger();
    QCOMPARE(e->dataset()->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from ") + tableOf(t)), before);
}

void TestRefdata::subRightsGateAddAndDelete_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("all sub-rights") << s("wang") << true;
    QTest::newRow("modify only") << s("guest") << false;
}

void TestRefdata::subRightsGateAddAndDelete()
{
    QFETCH(QString, user);
    QFETCH(bool, allowed);
    login(user);
    for (const CodeTable &t : codeTables()) {
        auto e = openEditor(t.windowName);
        QVERIFY(e);
        QVERIFY2(!e->isReadOnly(), qPrintable(t.windowName));
        QCOMPARE(e->Act_Add->isEnabled(), allowed);
        QCOMPARE(e->Act_Del->isEnabled(), allowed);
        QVERIFY(e->Act_Save->isEnabled());
        QVERIFY(e->Act_Close->isEnabled());
        QCOMPARE(e->Act_Add->shortcut(), QKeySequence(s("Ctrl+A")));
        QCOMPARE(e->Act_Save->shortcut(), QKeySequence(s("Ctrl+S")));
        QCOMPARE(e->Act_Del->shortcut(), QKeySequence(s("Ctrl+D")));
    }
    if (!allowed) {
        // A refused command does not run, even by its shortcut.
        auto e = openEditor(s("TfrmCustLevel"));
        QVERIFY(e);
        const int entries = logEntries().size();
        e->Act_Add->trigger();
        QCOMPARE(e->dataset()->state(), Dataset::State::Browse);
        QCOMPARE(logEntries().size(), entries);
    }
}

void TestRefdata::deleteAsks_data()
{
    QTest::addColumn<Messages::Answer>("answer");
    QTest::addColumn<bool>("gone");
    QTest::newRow("OK") << Messages::Answer::Ok << true;
    QTest::newRow("cancel") << Messages::Answer::Cancel << false;
}

void TestRefdata::deleteAsks()
{
    QFETCH(Messages::Answer, answer);
    QFETCH(bool, gone);
    login(s("wang"));
    auto e = openEditor(s("TfrmCustLevel"));
    QVERIFY(e);
    QVERIFY(e->dataset()->locate(s("LevelID"), {s("A")}));
    m_rec->answers.enqueue(answer);
    e->Act_Del->trigger();
    QCOMPARE(m_rec->texts(), QStringList{s("真的要删除该条记录吗?")});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Question);
    QCOMPARE(m_rec->messages.last().buttons, Messages::Buttons::OkCancel);
    QCOMPARE(logEntries().last(), s("基础资料-客户级别定义-删除"));
    QCOMPARE(count(s("select count(*) from tblCustLevel where LevelID = 'A'")), gone ? 0 : 1);
    // Customers keep the code; their lookup then shows nothing.
    QCOMPARE(count(s("select count(*) from tblCustomers where LevelID = 'A'")), 1);
    Dataset *c = dmMain->tblCustomers;
    OpenDatasets({c});
    QVERIFY(c->locate(s("CustId"), {s("C1")}));
    QCOMPARE(c->field(s("LevelName")).asString(), gone ? QString() : s("重要客户"));
}

void TestRefdata::deleteOnAnEmptyTableOnlyLogs_data()
{
    QTest::addColumn<QString>("window");
    for (const char *window : {"TfrmCustLevel", "TfrmState", "TfrmCustOrigin", "TfrmVocation", "TfrmOperateStyle",
                               "TfrmOperateOrigin", "TfrmOperateState", "TfrmRegion", "TfrmCountry",
                               "TfrmCurrencyRate", "TfrmFinanceOrgan", "TfrmDepartment"})
        QTest::newRow(window) << s(window);
}

void TestRefdata::deleteOnAnEmptyTableOnlyLogs()
{
    QFETCH(QString, window);
    login(s("Admin"));
    const CodeTable *t = codeTable(window);
    dmMain->database()->exec(s("delete from ") + tableOf(*t));
    (dmMain->*(t->source))->dataset()->close();
    auto e = openEditor(window);
    QVERIFY(e);
    QVERIFY(e->dataset()->isEmpty());
    e->Act_Del->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(logEntries().last(), t->entryPrefix + s("-删除"));
    QCOMPARE(e->dataset()->state(), Dataset::State::Browse);
}

void TestRefdata::closeDiscardsThePendingRow_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("insert");
    QTest::newRow("关闭, new row") << s("button") << true;
    QTest::newRow("Escape, new row") << s("escape") << true;
    QTest::newRow("close box, new row") << s("box") << true;
    QTest::newRow("关闭, changed row") << s("button") << false;
    QTest::newRow("close box, changed row") << s("box") << false;
}

void TestRefdata::closeDiscardsThePendingRow()
{
    QFETCH(QString, how);
    QFETCH(bool, insert);
    login(s("Admin"));
    auto e = openEditor(s("TfrmCustLevel"));
    QVERIFY(e);
    Dataset *d = e->dataset();
    if (insert) {
        e->Act_Add->trigger();
        fill(e->editor(s("LevelID")), s("Z"));  // no name: unchecked it would be stored as it is
        fill(e->editor(s("Memo")), s("说明"));
    } else {
        QVERIFY(d->locate(s("LevelID"), {s("B")}));
        e->editor(s("LevelName"))->setFocus();
        typeText(e->editor(s("LevelName")), s("改"));
        QCOMPARE(d->state(), Dataset::State::Edit);
    }
    if (how == u"button")
        e->Act_Close->trigger();
    else if (how == u"escape")
        QTest::keyClick(e->focusWidget(), Qt::Key_Escape);
    else
        QVERIFY(e->close());
    QVERIFY(!e->isVisible());
    QCOMPARE(d->state(), Dataset::State::Browse);
    // Another window's move later posts nothing.
    d->first();
    d->last();
    QCOMPARE(count(s("select count(*) from tblCustLevel")), 3);
    QCOMPARE(count(s("select count(*) from tblCustLevel where LevelName = '普通客户'")), 1);
    QVERIFY(m_rec->messages.isEmpty());
}

void TestRefdata::everyMemberDiscardsOnClose_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("escape");
    bool escape = false;
    for (const char *window : {"TfrmCustLevel", "TfrmState", "TfrmCustOrigin", "TfrmVocation", "TfrmOperateStyle",
                               "TfrmOperateOrigin", "TfrmOperateState", "TfrmRegion", "TfrmCountry",
                               "TfrmCurrencyRate", "TfrmFinanceOrgan", "TfrmDepartment"}) {
        QTest::newRow(window) << s(window) << escape;
        escape = !escape;
    }
}

// A new row with a code and a description but nothing else: the close box or Escape drops it.
void TestRefdata::everyMemberDiscardsOnClose()
{
    QFETCH(QString, window);
    QFETCH(bool, escape);
    login(s("Admin"));
    auto e = openEditor(window);
    QVERIFY(e);
    const QString table = tableOf(e->table());
    const int before = count(s("select count(*) from ") + table);
    e->Act_Add->trigger();
    fill(e->editor(e->table().fields.first().field), s("ZZ"));
    fill(e->editor(s("Memo")), s("说明"));
    if (escape)
        QTest::keyClick(e->focusWidget(), Qt::Key_Escape);
    else
        QVERIFY(e->close());
    QVERIFY(!e->isVisible());
    Dataset *d = e->dataset();
    QCOMPARE(d->state(), Dataset::State::Browse);
    d->first();
    QCOMPARE(count(s("select count(*) from ") + table), before);
    QVERIFY(m_rec->messages.isEmpty());
}

void TestRefdata::addChecksThePendingRowFirst()
{
    login(s("Admin"));
    auto e = openEditor(s("TfrmCustLevel"));
    QVERIFY(e);
    e->Act_Add->trigger();
    fill(e->editor(s("LevelID")), s("Z"));
    e->Act_Add->trigger();
    QCOMPARE(m_rec->texts(), QStringList{s("请输入客户级别名称！")});
    QCOMPARE(e->dataset()->field(s("LevelID")).asString(), s("Z"));  // still the same new row
    QCOMPARE(count(s("select count(*) from tblCustLevel")), 3);
}

void TestRefdata::gridMoveChecksThePendingRow_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("click") << false;
    QTest::newRow("arrow key") << true;
}

void TestRefdata::gridMoveChecksThePendingRow()
{
    QFETCH(bool, byKey);
    login(s("Admin"));
    auto e = openEditor(s("TfrmCustLevel"));
    QVERIFY(e);
    Dataset *d = e->dataset();
    QTreeView *view = e->grid()->view();
    const auto move = [&] {
        if (byKey) {
            view->setFocus();
            QTest::keyClick(view, Qt::Key_Up);
        } else {
            const QRect first = view->visualRect(e->grid()->model()->index(0, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first.center());
        }
    };
    e->Act_Add->trigger();
    fill(e->editor(s("LevelID")), s("Z"));
    fill(e->editor(s("Memo")), s("说明"));
    move();
    QCOMPARE(m_rec->texts(), QStringList{s("请输入客户级别名称！")});
    QCOMPARE(d->state(), Dataset::State::Insert);
    QCOMPARE(count(s("select count(*) from tblCustLevel")), 3);
    fill(e->editor(s("LevelName")), s("新级别"));
    fill(e->editor(s("LevelColor")), s("255"));
    move();
    QCOMPARE(m_rec->messages.size(), 1);
    QCOMPARE(d->state(), Dataset::State::Browse);
    QCOMPARE(count(s("select count(*) from tblCustLevel where LevelID = 'Z' and LevelName = '新级别'")), 1);
}

void TestRefdata::changesShowInLookupsAtOnce()
{
    login(s("Admin"));
    Dataset *c = dmMain->tblCustomers;
    QVERIFY(c->locate(s("CustId"), {s("C1")}));
    QCOMPARE(c->field(s("LevelName")).asString(), s("重要客户"));
    auto e = openEditor(s("TfrmCustLevel"));
    QVERIFY(e);
    // A new code is offered and named at once.
    e->Act_Add->trigger();
    fill(e->editor(s("LevelID")), s("VIP"));
    fill(e->editor(s("LevelName")), s("至尊客户"));
    fill(e->editor(s("LevelColor")), s("255"));
    fill(e->editor(s("Memo")), s("新级别"));
    e->Act_Save->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    c->edit();
    c->field(s("LevelID")).setValue(s("VIP"));
    QCOMPARE(c->field(s("LevelName")).asString(), s("至尊客户"));
    c->cancel();
    // A renamed code shows its new name.
    QVERIFY(e->dataset()->locate(s("LevelID"), {s("A")}));
    e->editor(s("LevelName"))->setFocus();
    static_cast<QLineEdit *>(e->editor(s("LevelName")))->selectAll();
    typeText(e->editor(s("LevelName")), s("核心客户"));
    e->Act_Save->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(c->field(s("LevelName")).asString(), s("核心客户"));
    QCOMPARE(dmMain->database()->scalar(s("select LevelColor from tblCustLevel where LevelID = 'VIP'")).toLongLong(), 255);
}

void TestRefdata::newCodesShowInCustomerLookups_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("lookup");
    QTest::newRow("level") << s("TfrmCustLevel") << s("LevelID") << s("LevelName");
    QTest::newRow("state") << s("TfrmState") << s("StateId") << s("State");
    QTest::newRow("origin") << s("TfrmCustOrigin") << s("OriginID") << s("OriginName");
    QTest::newRow("customer type") << s("TfrmVocation") << s("VocationID") << s("VocationName");
    QTest::newRow("district") << s("TfrmRegion") << s("DistID") << s("DistName");
    QTest::newRow("country") << s("TfrmCountry") << s("CountryID") << s("CountryName");
}

void TestRefdata::newCodesShowInCustomerLookups()
{
    QFETCH(QString, window);
    QFETCH(QString, key);
    QFETCH(QString, lookup);
    login(s("Admin"));
    auto e = openEditor(window);
    QVERIFY(e);
    e->Act_Add->trigger();
    for (const CodeTableField &f : e->table().fields)
        fill(e->editor(f.field), sampleFor(f, s("NX")));
    e->Act_Save->trigger();
    QVERIFY2(m_rec->messages.isEmpty(), qPrintable(m_rec->lastText()));
    Dataset *c = dmMain->tblCustomers;
    QVERIFY(c->locate(s("CustId"), {s("C1")}));
    c->edit();
    c->field(key).setValue(s("NX"));
    QCOMPARE(c->field(lookup).asString(), s("新NX"));
    c->cancel();
}

void TestRefdata::openedByNameWithoutTheRightIsReadOnly_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("no right 204") << s("nobody") << true;
    QTest::newRow("right 204") << s("wang") << false;
}

void TestRefdata::openedByNameWithoutTheRightIsReadOnly()
{
    QFETCH(QString, user);
    QFETCH(bool, readOnly);
    login(user);
    QVERIFY(!m_main->openWindow(s("TfrmNoSuchWindow")));
    const int entries = logEntries().size();
    bool seen = false;
    m_rec->onModal = [&](QDialog *d) -> int {
        auto *e = qobject_cast<CodeTableEditor *>(d);
        if (!e)
            return QDialog::Rejected;
        seen = true;
        e->show();
        ActionGate::instance()->evaluate();
        [&] {
            QCOMPARE(e->windowTitle(), s("币别汇率设置"));
            QCOMPARE(e->isReadOnly(), readOnly);
            QCOMPARE(e->Act_Save->isEnabled(), !readOnly);
            QCOMPARE(e->Act_Add->isEnabled(), !readOnly);
            QCOMPARE(e->Act_Del->isEnabled(), !readOnly);
            QVERIFY(e->Act_Close->isEnabled());
            for (QWidget *w : e->enterOrder())
                QCOMPARE(editorReadOnly(w), readOnly);
            QVERIFY(e->grid()->model()->rowCount() >= 3);
            if (readOnly) {
                // Typing changes nothing, and the save shortcut does not run.
                e->editor(s("CurrName"))->setFocus();
                typeText(e->editor(s("CurrName")), s("x"));
                QCOMPARE(e->dataset()->state(), Dataset::State::Browse);
                e->Act_Save->trigger();
            }
        }();
        e->Act_Close->trigger();
        return QDialog::Rejected;
    };
    QVERIFY(m_main->openWindow(s("TfrmCurrencyRate")));
    QVERIFY(seen);
    QCOMPARE(logEntries().size(), entries);  // the opener by name writes no entry
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(count(s("select count(*) from tblCurrencyRate where CurrName like '%x%'")), 0);
}

void TestRefdata::paletteAddsAColourEveryListOffers()
{
    login(s("Admin"));
    dmMain->database()->exec(s("delete from tblColor where ColorID = 255"));
    dmMain->tblColor->close();
    OpenDatasets({dmMain->tblColor});
    const int entries = logEntries().size();
    const int before = count(s("select count(*) from tblColor"));
    TfrmColor palette;
    palette.show();
    m_rec->colours.enqueue(QColor(Qt::red));
    palette.Act_Add->trigger();
    QCOMPARE(count(s("select count(*) from tblColor")), before + 1);
    QCOMPARE(count(s("select count(*) from tblColor where ColorID = 255")), 1);
    QCOMPARE(palette.sampleColour(), QColor(Qt::red));
    QCOMPARE(dmMain->tblColor->state(), Dataset::State::Browse);
    QCOMPARE(logEntries().size(), entries);  // the palette logs nothing
    QVERIFY(m_rec->messages.isEmpty());
    int lists = 0;
    for (const CodeTable &t : codeTables()) {
        for (const CodeTableField &f : t.fields) {
            if (f.kind != CodeTableField::Kind::Colour)
                continue;
            auto e = openEditor(t.windowName);
            QVERIFY(e);
            auto *combo = qobject_cast<DbColourCombo *>(e->editor(f.field));
            QVERIFY(combo);
            QVERIFY2(combo->findText(s("255")) >= 0, qPrintable(t.windowName));
            QVERIFY(!combo->itemIcon(combo->findText(s("255"))).isNull());
            ++lists;
        }
    }
    QCOMPARE(lists, 9);
}

void TestRefdata::paletteCancelAddsNothing()
{
    login(s("Admin"));
    OpenDatasets({dmMain->tblColor});
    const int before = count(s("select count(*) from tblColor"));
    TfrmColor palette;
    palette.Act_Add->trigger();  // the colour dialog answers Cancel
    QCOMPARE(count(s("select count(*) from tblColor")), before);
    QCOMPARE(dmMain->tblColor->state(), Dataset::State::Browse);
}

void TestRefdata::paletteDeleteLeavesCodesAsTheyWere()
{
    login(s("Admin"));
    const qint64 colour = dmMain->database()->scalar(s("select LevelColor from tblCustLevel where LevelID = 'A'")).toLongLong();
    OpenDatasets({dmMain->tblColor});
    TfrmColor palette;
    palette.show();
    QVERIFY(dmMain->tblColor->locate(s("ColorID"), {colour}));
    QCOMPARE(palette.sampleColour(), ColourValue::toColour(colour));
    m_rec->answers.enqueue(Messages::Answer::Ok);
    palette.Act_Del->trigger();
    QCOMPARE(m_rec->texts(), QStringList{s("真的要删除该条记录吗?")});
    QCOMPARE(m_rec->messages.last().icon, Messages::Icon::Question);
    QCOMPARE(count(s("select count(*) from tblColor where ColorID = %1").arg(colour)), 0);
    QCOMPARE(dmMain->database()->scalar(s("select LevelColor from tblCustLevel where LevelID = 'A'")).toLongLong(), colour);
    // The code's editor still shows its colour, though the list no longer offers it to others.
    auto e = openEditor(s("TfrmCustLevel"));
    QVERIFY(e);
    QVERIFY(e->dataset()->locate(s("LevelID"), {s("A")}));
    auto *combo = qobject_cast<DbColourCombo *>(e->editor(s("LevelColor")));
    QCOMPARE(combo->text(), QString::number(colour));
    QVERIFY(!combo->paletteValues().contains(colour));
    QVERIFY(e->dataset()->locate(s("LevelID"), {s("B")}));
    QVERIFY(combo->findText(QString::number(colour)) < 0);
}

void TestRefdata::paletteDeleteOnAnEmptyPalette()
{
    login(s("Admin"));
    dmMain->database()->exec(s("delete from tblColor"));
    dmMain->tblColor->close();
    OpenDatasets({dmMain->tblColor});
    TfrmColor palette;
    palette.show();
    palette.Act_Del->trigger();
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(!palette.sampleColour().isValid());
}

void TestRefdata::paletteButtonOpensThePalette()
{
    login(s("Admin"));
    auto e = openEditor(s("TfrmCustOrigin"));
    QVERIFY(e);
    const int entries = logEntries().size();
    m_rec->onModal = [&](QDialog *d) -> int {
        auto *palette = qobject_cast<TfrmColor *>(d);
        if (palette) {
            m_rec->colours.enqueue(QColor(1, 2, 3));
            palette->Act_Add->trigger();
        }
        return QDialog::Rejected;
    };
    QTest::mouseClick(e->paletteButton(), Qt::LeftButton);
    QCOMPARE(m_rec->modalWindows, QStringList{s("frmColor")});
    QCOMPARE(logEntries().size(), entries);
    // The new colour is offered in the open editor at once.
    auto *combo = qobject_cast<DbColourCombo *>(e->editor(s("OriginColor")));
    QVERIFY(combo->findText(QString::number(0x030201)) >= 0);
}

void TestRefdata::gridAndListShowSwatches()
{
    {
        // A read-only list shows the stored value again after a pick and writes nothing.
        login(s("nobody"));
        auto e = openEditor(s("TfrmCustLevel"));
        QVERIFY(e);
        QVERIFY(e->isReadOnly());
        auto *combo = qobject_cast<DbColourCombo *>(e->editor(s("LevelColor")));
        const QString stored = combo->text();
        const int other = combo->findText(s("65535")) == combo->currentIndex() ? 0 : combo->findText(s("65535"));
        combo->setCurrentIndex(other);
        Q_EMIT combo->activated(other);
        QCOMPARE(combo->text(), stored);
        QCOMPARE(e->dataset()->state(), Dataset::State::Browse);
    }
    login(s("Admin"));
    auto e = openEditor(s("TfrmCustLevel"));
    QVERIFY(e);
    DatasetModel *m = e->grid()->model();
    const int colourColumn = m->columnOfField(s("LevelColor"));
    QVERIFY(colourColumn >= 0);
    const QModelIndex cell = m->index(0, colourColumn);
    QCOMPARE(m->data(cell).toString(), e->dataset()->textAt(0, e->dataset()->fieldIndex(s("LevelColor"))));
    QVERIFY(!m->data(cell, Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(!m->data(m->index(0, m->columnOfField(s("LevelName"))), Qt::DecorationRole).isValid());
    auto *combo = qobject_cast<DbColourCombo *>(e->editor(s("LevelColor")));
    QVERIFY(combo->count() >= 16);
    for (int i = 0; i < combo->count(); ++i)
        QVERIFY(!combo->itemIcon(i).isNull());
}

QTEST_MAIN(TestRefdata)
#include "tst_refdata.moc"
