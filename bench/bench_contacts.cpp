// The contact window over 200,000 contacts of 100,000 customers: opening, row moves with
// the customer tab following, the contact query and the address export.
#include "BenchData.h"
#include "BenchTargets.h"
#include "ConnectionString.h"
#include "ContactWindows.h"
#include "CustomerWindows.h"
#include "Dialogs.h"
#include "Messages.h"
#include "ActionGate.h"
#include "Statement.h"
#include "uLinkman.h"
#include "uLinkmanQuery1.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// Answers every message box and file dialog without showing one.
class Quiet : public Messages::Handler, public Dialogs::Handler
{
public:
    QString saveTo;
    Messages::Answer show(QWidget *, const Messages::Request &r) override { return r.defaultAnswer; }
    QString openFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(QWidget *, const QString &, const QString &, const QString &) override { return saveTo; }
    QString folder(QWidget *, const QString &, const QString &) override { return {}; }
    QColor colour(QWidget *, const QColor &) override { return {}; }
    int showModal(QDialog *) override { return 0; }
};

struct Fixture
{
    QTemporaryDir dir;
    Quiet quiet;
    std::unique_ptr<TdmMain> dm;
    std::unique_ptr<TfrmMain> main;
    Fixture()
    {
        Messages::setHandler(&quiet);
        Dialogs::setHandler(&quiet);
        SetAppDir(dir.path());
        quiet.saveTo = AppDir + s("Email/Email.txt");
        dm = std::make_unique<TdmMain>();
        dm->attachDatabase(Database::open(benchDatabase(1000), ConnectionString::databasePassword().toUtf8()));
        main = std::make_unique<TfrmMain>();
        installCustomerWindows(*main);
        installContactWindows(*main);
        OpenDatasets({dm->tblUserRight});
        loginAs(s("Admin"));
    }
    void loginAs(const QString &user)
    {
        CurrentUserID = user;
        dm->tblUser->close();
        dm->tblUser->open();
        ActionGate::instance()->evaluate();
    }
    void openWindow()
    {
        dm->qryLinkmans1->close();
        dm->qryLinkmans1->setSql({s("select * from tblLinkmans")});
        dm->tblCustomers2->close();
        main->action(s("Act_Linkman"))->trigger();
    }
};

// Made on first use, ended before the application object.
std::unique_ptr<Fixture> &holder()
{
    static std::unique_ptr<Fixture> f;
    return f;
}

Fixture &fixture()
{
    if (!holder())
        holder() = std::make_unique<Fixture>();
    return *holder();
}

void BM_LinkmanOpen200k(benchmark::State &state)
{
    Fixture &f = fixture();
    f.loginAs(s("Admin"));
    for (auto _ : state) {
        f.openWindow();
        benchmark::DoNotOptimize(f.dm->qryLinkmans1->recordCount());
    }
}
BENCHMARK(BM_LinkmanOpen200k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// What opening cannot do without: every contact and every customer read.
void BM_OpenContactsAndCustomers(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        QueryDataset *q = f.dm->qryLinkmans1;
        q->close();
        q->setSql({s("select * from tblLinkmans")});
        q->open();
        f.dm->tblCustomers2->close();
        f.dm->tblCustomers2->open();
        benchmark::DoNotOptimize(q->recordCount() + f.dm->tblCustomers2->recordCount());
    }
}
BENCHMARK(BM_OpenContactsAndCustomers)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_OpenContacts(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        QueryDataset *q = f.dm->qryLinkmans1;
        q->close();
        q->setSql({s("select * from tblLinkmans")});
        q->open();
        benchmark::DoNotOptimize(q->recordCount());
    }
}
BENCHMARK(BM_OpenContacts)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// One row move with the editor tab built: the drop-down over every customer, the
// customer tab following the contact.
void BM_LinkmanMove(benchmark::State &state)
{
    Fixture &f = fixture();
    f.loginAs(s("Admin"));
    f.openWindow();
    frmLinkman->pages()->setCurrentIndex(1);
    frmLinkman->PnMain->resize(1000, 700);
    frmLinkman->PnMain->show();
    QueryDataset *q = f.dm->qryLinkmans1;
    const int rows = q->recordCount();
    int row = 0;
    for (auto _ : state) {
        row = (row + 7919) % rows;
        q->setCurrentRow(row);
        QCoreApplication::processEvents();
    }
    if (!frmLinkman->customerShown())
        state.SkipWithError("the customer tab did not follow");
    frmLinkman->PnMain->hide();
}
BENCHMARK(BM_LinkmanMove)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_CustomerSelectIndexed(benchmark::State &state)
{
    Fixture &f = fixture();
    int i = 0;
    for (auto _ : state) {
        Statement st(*f.dm->database(), s("select * from tblCustomers where CustId=:CustId"));
        st.bind(s("CustId"), QStringLiteral("C%1").arg(1 + (i++ * 7919) % 100000, 6, 10, QLatin1Char('0')));
        benchmark::DoNotOptimize(st.step());
    }
}
BENCHMARK(BM_CustomerSelectIndexed)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_LinkmanQueryName(benchmark::State &state)
{
    Fixture &f = fixture();
    f.loginAs(s("wang"));
    TfrmLinkmanQuery1 dialog;
    dialog.kindBox()->setCurrentIndex(3);
    dialog.textEdit()->setText(s("张"));
    for (auto _ : state) {
        dialog.okButton()->click();
        benchmark::DoNotOptimize(f.dm->qryLinkmans1->recordCount());
    }
    f.loginAs(s("Admin"));
}
BENCHMARK(BM_LinkmanQueryName)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_EmailExport200k(benchmark::State &state)
{
    Fixture &f = fixture();
    f.loginAs(s("Admin"));
    f.openWindow();
    for (auto _ : state)
        frmLinkman->exportAddresses();
}
BENCHMARK(BM_EmailExport200k)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerTarget({"linkman_open_200k", "BM_LinkmanOpen200k", "BM_OpenContactsAndCustomers", 2.5});
    registerTarget({"linkman_move_100k", "BM_LinkmanMove", "BM_CustomerSelectIndexed", 20.0});
    registerTarget({"linkman_query_200k", "BM_LinkmanQueryName", "BM_OpenContacts", 1.0});
    registerTarget({"email_export_200k", "BM_EmailExport200k", "BM_OpenContacts", 1.0});
    const int status = runBenchmarksAndTargets(argc, argv);
    holder().reset();
    Messages::setHandler(nullptr);
    Dialogs::setHandler(nullptr);
    return status;
}
