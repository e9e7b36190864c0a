// The file tool window and its dialogs over real folders in a temporary AppDir: new files,
// paste, the bounds of the document folders, the clipboard keys, logs and the utilities.
#include "DocumentFolders.h"
#include "DocumentWindows.h"
#include "FolderTree.h"
#include "FolderView.h"
#include "LogEntries.h"
#include "SeamRecorder.h"
#include "TestDb.h"
#include "uMain.h"
#include "uNewFile.h"
#include "uPasteFile.h"
#include "uPublic.h"
#include "uTools.h"
#include "udmMain.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {

QString s(const char *t)
{
    return QString::fromUtf8(t);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A double-click as the window system delivers it: press, release, double-click, release.
void doubleClick(QAbstractItemView *view, const QModelIndex &index)
{
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every item below `dir` but the database folder: name, size, time and content.
QStringList snapshot(const QString &dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(dir).relativeFilePath(path);
        if (relative.startsWith(u"Data"))
            continue;
        const QFileInfo info(path);
        out << relative + u'|' + QString::number(info.size()) + u'|'
                   + QString::number(info.lastModified().toMSecsSinceEpoch()) + u'|'
                   + QString::fromLatin1(QCryptographicHash::hash(readFile(path), QCryptographicHash::Md5).toHex());
    }
    out.sort();
    return out;
}

}  // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void newFileCreatesEmptyFiles_data();
    void newFileCreatesEmptyFiles();
    void newFileRefusals_data();
    void newFileRefusals();
    void newFileNextAndFocus();
    void paste_data();
    void paste();
    void pasteWithoutSource();
    void pasteTargetFromTheTree();
    void dialogListBrowsingMovesTheRoot();
    void listRootBounds_data();
    void listRootBounds();
    void missingFolderInsideShowsEmpty();
    void upStopsAtFilesRoot();
    void rootListsEveryRecordFolder();
    void writesStayInside();
    void rename_data();
    void rename();
    void renameInPlaceKeepsTheSelection();
    void sortingKeepsFoldersFirst();
    void clipboardKeysPutFiles_data();
    void clipboardKeysPutFiles();
    void clipboardPasteMovesAndSkips();
    void menuCutWithToolsHidden();
    void dialogsBelongToTheToolWindow();
    void doubleClickOpensOrEnters();
    void elevenLogTexts();
    void utilities();
    void envelopePicture();
    void closeBoxClearsTheCheck();
    void placedBelowTheTopBarAtTheRightEdge();
    void followsListRootWhenIdle();

private:
    QString files(const QString &relative) const { return DocumentFolders::root() + u'/' + relative; }
    void clickTool(const char *name);
    template<class D> void onDialog(std::function<void(D *)> act);

    std::unique_ptr<TestAppDir> m_template, m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<SeamRecorder> m_rec;
    TfrmTools *m_tools = nullptr;
};

void TestDocuments::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_template = std::make_unique<TestAppDir>();
}

void TestDocuments::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>(false);
    QVERIFY(QFile::copy(m_template->databasePath(), m_dir->databasePath()));
    SetAppDir(m_dir->appDir());
    FileListRoot.clear();
    FileClipboardMode.clear();
    for (const char *folder : {"Files/C001", "Files/C002", "Files/Operaters/S01", "Files/Yuangong/Y01", "Files/Plans",
                               "Files/Shusong"})
        QDir().mkpath(AppDir + s(folder));
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    m_main = std::make_unique<TfrmMain>();
    installDocumentWindows(*m_main);
    m_tools = frmTools;
    QVERIFY(m_tools);
    QVERIFY(!m_tools->isVisible());  // created hidden
    CurrentUserID = s("Admin");
    QVERIFY(m_main->prepareAfterLogin());
    QVERIFY(!m_tools->isVisible());  // not before the main window
    m_main->show();
    QVERIFY(m_tools->isVisible());
    dmMain->qryLogClear->exec();
}

void TestDocuments::cleanup()
{
    QGuiApplication::clipboard()->clear();
    m_main.reset();
    QVERIFY(!frmTools);
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
    FileListRoot.clear();
}

void TestDocuments::clickTool(const char *name)
{
    QAction *a = m_tools->toolBar()->findChild<QAction *>(s(name));
    QVERIFY2(a, name);
    a->trigger();
}

template<class D> void TestDocuments::onDialog(std::function<void(D *)> act)
{
    m_rec->onModal = [act](QDialog *d) {
        if (auto *dialog = qobject_cast<D *>(d)) {
            dialog->show();
            act(dialog);
        }
        return int(QDialog::Rejected);
    };
}

void TestDocuments::newFileCreatesEmptyFiles_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("extension");
    QTest::newRow("text") << 0 << ".txt";
    QTest::newRow("word") << 1 << ".doc";
    QTest::newRow("excel") << 2 << ".xls";
}

void TestDocuments::newFileCreatesEmptyFiles()
{
    QFETCH(int, type);
    QFETCH(QString, extension);
    FileListRoot = FilesRoot + s("C001");
    bool stayedOpen = false;
    QStringList listed;
    onDialog<TfrmNewFile>([&](TfrmNewFile *d) {
        QCOMPARE(d->windowTitle(), s("新建文件"));
        QCOMPARE(d->folder(), files(s("C001")));
        d->nameEdit()->setText(s("客户来函"));
        d->typeBox()->setCurrentIndex(type);
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
        stayedOpen = d->isVisible();
        listed = d->fileList()->model()->names();
    });
    m_tools->findChild<QAction *>(s("toolNewFile"))->trigger();
    QCOMPARE(m_rec->modalWindows, QStringList{"frmNewFile"});
    const QFileInfo created(files(s("C001/客户来函") + extension));
    QVERIFY(created.isFile());
    QCOMPARE(created.size(), 0);
    QVERIFY(stayedOpen);
    QCOMPARE(listed, QStringList{created.fileName()});
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(logEntries(), QStringList{"文件管理-新建文件"});
    // The tool window shows the new file once the dialog is closed.
    QVERIFY(m_tools->fileList()->model()->names().contains(created.fileName()));
}

void TestDocuments::newFileRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString illegal = s("文件名称不能包含路径或非法字符！");
    QTest::newRow("up a level") << "../x" << 0 << illegal << "edtFileName";
    QTest::newRow("slash") << "a/b" << 0 << illegal << "edtFileName";
    QTest::newRow("backslash") << "a\\b" << 0 << illegal << "edtFileName";
    QTest::newRow("dot dot") << ".." << 1 << illegal << "edtFileName";
    QTest::newRow("dot") << "." << 2 << illegal << "edtFileName";
    QTest::newRow("colon and star") << "a:*b" << 0 << illegal << "edtFileName";
    QTest::newRow("control character") << "a\tb" << 0 << illegal << "edtFileName";
    QTest::newRow("blanks only") << "   " << 0 << s("请输入需要创建的文件名称！") << "edtFileName";
    QTest::newRow("empty") << "" << 0 << s("请输入需要创建的文件名称！") << "edtFileName";
    QTest::newRow("no type") << "ok" << -1 << s("请选择需要创建的文件的类型！") << "cbxFileType";
    QTest::newRow("existing file keeps its bytes") << "old" << 0 << s("对不起，该文件已经存在！") << "edtFileName";
}

void TestDocuments::newFileRefusals()
{
    QFETCH(QString, name);
    QFETCH(int, type);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    writeFile(files(s("C001/old.txt")), "kept content");
    QFile(files(s("C001/old.txt"))).setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4)), QFileDevice::FileModificationTime);
    FileListRoot = FilesRoot + s("C001");
    const QStringList before = snapshot(AppDir);
    QString focused;
    onDialog<TfrmNewFile>([&](TfrmNewFile *d) {
        d->nameEdit()->setText(name);
        d->typeBox()->setCurrentIndex(type);
        d->nameEdit()->clearFocus();
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
        focused = d->focusWidget() ? d->focusWidget()->objectName() : QString();
    });
    m_main->action(s("File_New"))->trigger();
    QCOMPARE(m_rec->texts(), QStringList{message});
    QCOMPARE(m_rec->messages.first().caption, s("系统提示"));
    QCOMPARE(m_rec->messages.first().icon, Messages::Icon::Warning);
    QCOMPARE(focused, focus);
    QCOMPARE(snapshot(AppDir), before);
    QCOMPARE(readFile(files(s("C001/old.txt"))), QByteArray("kept content"));
}

void TestDocuments::newFileNextAndFocus()
{
    FileListRoot = FilesRoot + s("C002");
    QString focusOnShow, focusAfterNext, nameAfterNext;
    QStringList listed;
    onDialog<TfrmNewFile>([&](TfrmNewFile *d) {
        focusOnShow = d->focusWidget() ? d->focusWidget()->objectName() : QString();
        d->typeBox()->setCurrentIndex(0);
        for (const char *name : {"报告1", "报告2"}) {
            d->nameEdit()->setText(s(name));
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
            d->okButton()->setFocus();
            QTest::mouseClick(d->newButton(), Qt::LeftButton);
        }
        nameAfterNext = d->nameEdit()->text();
        focusAfterNext = d->focusWidget() ? d->focusWidget()->objectName() : QString();
        listed = d->fileList()->model()->names();
    });
    m_main->action(s("File_New"))->trigger();
    QCOMPARE(focusOnShow, s("edtFileName"));
    QCOMPARE(nameAfterNext, QString());
    QCOMPARE(focusAfterNext, s("edtFileName"));
    QCOMPARE(listed, (QStringList{"报告1.txt", "报告2.txt"}));
    QVERIFY(m_rec->messages.isEmpty());
}

void TestDocuments::paste_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("source");   // relative to the scans folder, or "Files/…"
    QTest::addColumn<bool>("alreadyThere");
    QTest::addColumn<bool>("deleteFirst");
    QTest::addColumn<bool>("arrives");
    QTest::addColumn<bool>("sourceStays");
    QTest::newRow("copy") << "Copy" << "scan.pdf" << false << false << true << true;
    QTest::newRow("cut") << "Cut" << "scan.pdf" << false << false << true << false;
    QTest::newRow("copy onto an existing name") << "Copy" << "scan.pdf" << true << false << false << true;
    QTest::newRow("cut onto an existing name") << "Cut" << "scan.pdf" << true << false << false << true;
    QTest::newRow("cut into its own folder") << "Cut" << "Files/C001/own.pdf" << false << false << true << true;
    QTest::newRow("source gone before paste") << "Cut" << "scan.pdf" << false << true << false << false;
}

void TestDocuments::paste()
{
    QFETCH(QString, mode);
    QFETCH(QString, source);
    QFETCH(bool, alreadyThere);
    QFETCH(bool, deleteFirst);
    QFETCH(bool, arrives);
    QFETCH(bool, sourceStays);
    QTemporaryDir scans;  // a scan comes in from anywhere
    const QString from = source.startsWith(u"Files/") ? files(source.mid(6)) : scans.path() + u'/' + source;
    const QString name = QFileInfo(from).fileName();
    writeFile(from, "scanned page");
    const QString target = files(s("C001/") + name);
    if (alreadyThere)
        writeFile(target, "older document");
    FileListRoot = FilesRoot + s("C001");
    m_rec->files.enqueue(from);
    QString caption, shownSource, afterPaste;
    bool stayedOpen = false;
    QStringList listed;
    onDialog<TfrmPasteFile>([&](TfrmPasteFile *d) {
        caption = d->windowTitle();
        QVERIFY(d->sourceLabel()->text().isEmpty());
        QTest::mouseClick(d->sourceButton(), Qt::LeftButton);
        shownSource = d->sourceLabel()->text();
        if (deleteFirst)
            QFile::remove(from);
        QTest::mouseClick(d->pasteButton(), Qt::LeftButton);
        stayedOpen = d->isVisible();
        listed = d->fileList()->model()->names();
    });
    clickTool(mode == u"Cut" ? "toolCut" : "toolCopy");
    QCOMPARE(FileClipboardMode, mode);
    QCOMPARE(caption, mode == u"Cut" ? s("剪切文件") : s("复制文件"));
    QCOMPARE(shownSource, QDir::toNativeSeparators(from));
    QVERIFY(stayedOpen);
    QVERIFY(m_rec->messages.isEmpty());  // failures stay silent
    QCOMPARE(QFile::exists(from), sourceStays);
    if (alreadyThere)
        QCOMPARE(readFile(target), QByteArray("older document"));
    else if (arrives)
        QCOMPARE(readFile(target), QByteArray("scanned page"));
    else
        QVERIFY(!QFile::exists(target));
    QCOMPARE(listed.contains(name), arrives || alreadyThere);
    QCOMPARE(logEntries(), QStringList{mode == u"Cut" ? s("文件管理-剪切文件") : s("文件管理-复制文件")});
}

void TestDocuments::pasteWithoutSource()
{
    onDialog<TfrmPasteFile>([](TfrmPasteFile *d) {
        QTest::mouseClick(d->sourceButton(), Qt::LeftButton);  // the open dialog cancelled
        QTest::mouseClick(d->pasteButton(), Qt::LeftButton);
    });
    const QStringList before = snapshot(AppDir);
    m_main->action(s("File_Copy"))->trigger();
    QCOMPARE(m_rec->texts(), QStringList{"请选择源文件！"});
    QCOMPARE(m_rec->messages.first().icon, Messages::Icon::Warning);
    QCOMPARE(snapshot(AppDir), before);
}

void TestDocuments::pasteTargetFromTheTree()
{
    QTemporaryDir scans;
    writeFile(scans.path() + s("/合同.pdf"), "pdf");
    FileListRoot = FilesRoot + s("C001");
    m_rec->files.enqueue(scans.path() + s("/合同.pdf"));
    QString listRootAfterChoice, listedFolder;
    onDialog<TfrmPasteFile>([&](TfrmPasteFile *d) {
        QTreeWidgetItem *item = d->folderTree()->itemFor(files(s("Operaters/S01")));
        QVERIFY(item);
        emit d->folderTree()->itemActivated(item, 0);  // what a double-click does
        listRootAfterChoice = FileListRoot;
        listedFolder = d->fileList()->folder();
        QTest::mouseClick(d->sourceButton(), Qt::LeftButton);
        QTest::mouseClick(d->pasteButton(), Qt::LeftButton);
    });
    m_main->action(s("File_Copy"))->trigger();
    QCOMPARE(listRootAfterChoice, FilesRoot + s("Operaters/S01"));
    QCOMPARE(listedFolder, files(s("Operaters/S01")));
    QVERIFY(QFile::exists(files(s("Operaters/S01/合同.pdf"))));
    QVERIFY(!QFile::exists(files(s("C001/合同.pdf"))));
    QCOMPARE(m_tools->folder(), files(s("Operaters/S01")));  // the tool window moved along
}

void TestDocuments::dialogListBrowsingMovesTheRoot()
{
    QDir().mkpath(files(s("C001/扫描件")));
    FileListRoot = FilesRoot + s("C001");
    QString labelled, current, afterDrive;
    onDialog<TfrmNewFile>([&](TfrmNewFile *d) {
        FolderView *list = d->fileList();
        list->activate(list->model()->indexOf(s("扫描件")));  // entered from the dialog's list
        labelled = d->folderLabel()->text();
        current = FolderTree::pathOf(d->folderTree()->currentItem());
        QCOMPARE(FileListRoot, FilesRoot + s("C001/扫描件"));
        emit d->driveList()->activated(0);  // the one drive: the document root
        afterDrive = d->folder();
    });
    m_main->action(s("File_New"))->trigger();
    QCOMPARE(labelled, QDir::toNativeSeparators(files(s("C001/扫描件"))));
    QCOMPARE(current, files(s("C001/扫描件")));
    QCOMPARE(afterDrive, DocumentFolders::root());
    QCOMPARE(FileListRoot, FilesRoot);
    QCOMPARE(m_tools->folder(), DocumentFolders::root());
}

void TestDocuments::listRootBounds_data()
{
    QTest::addColumn<QString>("root");  // "@outside" and "@link" are made by the test
    QTest::addColumn<QString>("shown");
    QTest::newRow("record folder") << "Files/C002" << "C002";
    QTest::newRow("another folder") << "@outside" << "";
    QTest::newRow("Files/../..") << "Files/../.." << "";
    QTest::newRow("dots inside") << "Files/C001/../C002/." << "C002";
    QTest::newRow("link leading out") << "@link" << "";
    QTest::newRow("through a link out and back") << "@link/../../Files/Plans" << "";
    QTest::newRow("relative to Files") << "Plans" << "Plans";
    QTest::newRow("empty") << "" << "";
}

void TestDocuments::listRootBounds()
{
    QFETCH(QString, root);
    QFETCH(QString, shown);
    QTemporaryDir outside;
    writeFile(outside.path() + s("/secret.txt"), "outside");
    QVERIFY(QFile::link(outside.path(), files(s("C001/out"))));
    if (root == u"@outside")
        root = outside.path();
    else if (root.startsWith(u"@link"))
        root = FilesRoot + s("C001/out") + root.mid(5);
    else if (root.startsWith(u"Files/"))
        root = AppDir + root;
    FileListRoot = root;
    m_tools->showListRoot();
    const QString expected = shown.isEmpty() ? DocumentFolders::root() : files(shown);
    QCOMPARE(m_tools->folder(), expected);
    QVERIFY(!m_tools->fileList()->model()->names().contains(s("secret.txt")));
    // The dialogs and the menu's commands look at the same folder.
    QString dialogFolder, treeFolder, hint;
    int drives = 0;
    bool linkInTree = true;
    onDialog<TfrmNewFile>([&](TfrmNewFile *d) {
        dialogFolder = d->folder();
        treeFolder = FolderTree::pathOf(d->folderTree()->topLevelItem(0));
        drives = d->driveList()->count();
        hint = d->folderTree()->toolTip();
        linkInTree = d->folderTree()->itemFor(files(s("C001/out"))) != nullptr;
    });
    m_main->action(s("File_New"))->trigger();
    QCOMPARE(dialogFolder, expected);
    QCOMPARE(treeFolder, DocumentFolders::root());
    QCOMPARE(drives, 1);
    QCOMPARE(hint, s("双击选择文件目录"));
    QVERIFY(!linkInTree);  // the link out is no branch of the tree
    // Entering the link from the list leads nowhere.
    FileListRoot = FilesRoot + s("C001");
    m_tools->showListRoot();
    m_tools->fileList()->activate(m_tools->fileList()->model()->indexOf(s("out")));
    QCOMPARE(m_tools->folder(), files(s("C001")));
}

void TestDocuments::missingFolderInsideShowsEmpty()
{
    FileListRoot = FilesRoot + s("C999");
    m_tools->showListRoot();
    QCOMPARE(m_tools->folder(), files(s("C999")));
    QCOMPARE(m_tools->fileList()->model()->rowCount(), 0);
    QVERIFY(!QFileInfo::exists(files(s("C999"))));  // looking makes nothing
}

void TestDocuments::upStopsAtFilesRoot()
{
    FileListRoot = FilesRoot + s("Operaters/S01");
    m_tools->showListRoot();
    QStringList roots, shown;
    for (int i = 0; i < 3; ++i) {
        clickTool("toolUp");
        roots << FileListRoot;
        shown << m_tools->folder();
    }
    QCOMPARE(roots, (QStringList{FilesRoot + s("Operaters"), FilesRoot, FilesRoot}));
    QCOMPARE(shown, (QStringList{files(s("Operaters")), DocumentFolders::root(), DocumentFolders::root()}));
    QCOMPARE(logEntries(), (QStringList{"文件管理-向上", "文件管理-向上", "文件管理-向上"}));
}

void TestDocuments::rootListsEveryRecordFolder()
{
    FileListRoot = FilesRoot + s("C001");
    m_tools->showListRoot();
    QDir(FilesRoot).removeRecursively();  // made again by the command
    QDir().mkpath(FilesRoot + s("C001"));
    QDir().mkpath(FilesRoot + s("Plans"));
    writeFile(FilesRoot + s("readme.txt"), "x");
    clickTool("toolRoot");
    QCOMPARE(FileListRoot, FilesRoot);
    QCOMPARE(m_tools->folder(), DocumentFolders::root());
    QCOMPARE(m_tools->fileList()->model()->names(), (QStringList{"C001", "Plans", "readme.txt"}));  // folders first
    QCOMPARE(logEntries(), QStringList{"文件管理-文件根目录"});
}

void TestDocuments::writesStayInside()
{
    QTemporaryDir outside;
    writeFile(outside.path() + s("/a.txt"), "a");
    QVERIFY(QFile::link(outside.path(), files(s("C001/out"))));
    const QStringList before = snapshot(outside.path());
    using namespace DocumentFolders;
    QCOMPARE(createEmpty(outside.path(), s("x.txt")), Created::Outside);
    QCOMPARE(createEmpty(files(s("C001/out")), s("x.txt")), Created::Outside);
    QCOMPARE(createEmpty(files(s("C001/../..")), s("x.txt")), Created::Outside);
    QCOMPARE(createEmpty(files(s("C001")), s("../x.txt")), Created::Outside);
    writeFile(files(s("C002/b.txt")), "b");
    QCOMPARE(DocumentFolders::paste(files(s("C002/b.txt")), files(s("C001/out")), false), Pasted::Outside);
    QCOMPARE(DocumentFolders::paste(files(s("C002/b.txt")), outside.path(), true), Pasted::Outside);
    QCOMPARE(DocumentFolders::paste(files(s("C002")), files(s("C001")), false), Pasted::NoSource);  // a folder is no source
    QCOMPARE(snapshot(outside.path()), before);
    QVERIFY(QFile::exists(files(s("C002/b.txt"))));
    QVERIFY(!QFile::exists(AppDir + s("x.txt")));
}

void TestDocuments::rename_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("new name") << "a.txt" << "c.txt" << "" << QStringList{"sub", "b.txt", "c.txt"};
    QTest::newRow("existing name") << "a.txt" << "b.txt" << s("对不起，该文件已经存在！") << QStringList{"sub", "a.txt", "b.txt"};
    QTest::newRow("onto a folder") << "a.txt" << "sub" << s("对不起，该文件已经存在！") << QStringList{"sub", "a.txt", "b.txt"};
    QTest::newRow("folder onto a file") << "sub" << "a.txt" << s("对不起，该文件已经存在！") << QStringList{"sub", "a.txt", "b.txt"};
    QTest::newRow("separator") << "a.txt" << "a/b" << s("文件名称不能包含路径或非法字符！") << QStringList{"sub", "a.txt", "b.txt"};
    QTest::newRow("up a level") << "a.txt" << "../a.txt" << s("文件名称不能包含路径或非法字符！") << QStringList{"sub", "a.txt", "b.txt"};
    QTest::newRow("blank") << "a.txt" << "  " << s("文件名称不能包含路径或非法字符！") << QStringList{"sub", "a.txt", "b.txt"};
    QTest::newRow("unchanged") << "a.txt" << "a.txt" << "" << QStringList{"sub", "a.txt", "b.txt"};
}

void TestDocuments::rename()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    QFETCH(QStringList, after);
    writeFile(files(s("C001/a.txt")), "a");
    writeFile(files(s("C001/b.txt")), "b");
    QDir().mkpath(files(s("C001/sub")));
    FileListRoot = FilesRoot + s("C001");
    m_tools->showListRoot();
    FolderModel *model = m_tools->fileList()->model();
    QVERIFY(model->flags(model->indexOf(from)) & Qt::ItemIsEditable);
    // What the in-place editor hands back on Enter.
    model->setData(model->indexOf(from), to, Qt::EditRole);
    QCOMPARE(m_rec->texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(QDir(files(s("C001"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::DirsFirst | QDir::Name), after);
    QCOMPARE(model->names(), after);
    QCOMPARE(readFile(files(s("C001/b.txt"))), QByteArray("b"));
    QVERIFY(!QFile::exists(files(s("a"))));
}

void TestDocuments::renameInPlaceKeepsTheSelection()
{
    writeFile(files(s("C001/a.txt")), "a");
    writeFile(files(s("C001/b.txt")), "b");
    FileListRoot = FilesRoot + s("C001");
    m_tools->showListRoot();
    FolderView *view = m_tools->fileList();
    view->setMode(FolderView::Mode::Details);
    QAbstractItemView *v = view->currentView();
    m_tools->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_tools));
    v->setFocus();
    v->setCurrentIndex(view->model()->indexOf(s("a.txt")));
    view->selectNames({s("a.txt")});
    // F2 belongs to the main menu's "客户资料": the editor opens as a second click on the selection opens it.
    v->edit(v->currentIndex());
    auto *editor = v->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->setText(s("z.txt"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the delegate commits from a queued call
    QVERIFY(QFile::exists(files(s("C001/z.txt"))));
    QVERIFY(!QFile::exists(files(s("C001/a.txt"))));
    QCOMPARE(view->model()->names(), (QStringList{"b.txt", "z.txt"}));  // sorted again
    QCOMPARE(view->selectedPaths(), QStringList{files(s("C001/z.txt"))});
    QCOMPARE(view->model()->data(v->currentIndex()).toString(), s("z.txt"));
}

void TestDocuments::sortingKeepsFoldersFirst()
{
    writeFile(files(s("C001/a.txt")), QByteArray(3000, 'a'));
    writeFile(files(s("C001/b.txt")), "b");
    writeFile(files(s("C001/f10.txt")), "10");
    writeFile(files(s("C001/f9.txt")), "9");
    QDir().mkpath(files(s("C001/z")));
    FileListRoot = FilesRoot + s("C001");
    m_tools->showListRoot();
    FolderView *view = m_tools->fileList();
    QCOMPARE(view->model()->names(), (QStringList{"z", "a.txt", "b.txt", "f9.txt", "f10.txt"}));
    view->setMode(FolderView::Mode::Details);
    view->detailView()->sortByColumn(FolderModel::Size, Qt::DescendingOrder);  // a header click
    QCOMPARE(view->model()->names().first(), s("z"));
    QCOMPARE(view->model()->names().at(1), s("a.txt"));
    view->menuAction(s("menuSortByName"))->trigger();
    QCOMPARE(view->model()->names(), (QStringList{"z", "a.txt", "b.txt", "f9.txt", "f10.txt"}));
    QCOMPARE(view->model()->data(view->model()->index(0, FolderModel::Type)).toString(), s("文件夹"));
    QCOMPARE(view->model()->data(view->model()->index(1, FolderModel::Size)).toString(), s("3 KB"));
}

void TestDocuments::clipboardKeysPutFiles_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QByteArray>("gnome");
    QTest::addColumn<QByteArray>("kde");
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << QByteArray("copy") << QByteArray("0");
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << QByteArray("cut") << QByteArray("1");
}

void TestDocuments::clipboardKeysPutFiles()
{
    QFETCH(int, key);
    QFETCH(QByteArray, gnome);
    QFETCH(QByteArray, kde);
    writeFile(files(s("C001/甲 1.txt")), "1");
    writeFile(files(s("C001/乙.txt")), "2");
    writeFile(files(s("C001/丙.txt")), "3");
    QDir().mkpath(files(s("C001/sub")));
    FileListRoot = FilesRoot + s("C001");
    m_tools->showListRoot();
    FolderView *view = m_tools->fileList();
    view->selectNames({s("甲 1.txt"), s("丙.txt"), s("sub")});  // the folder is left out
    m_tools->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_tools));
    view->currentView()->setFocus();
    QTest::keyClick(view->currentView(), Qt::Key(key), Qt::ControlModifier);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    const QList<QUrl> expected{QUrl::fromLocalFile(files(s("C001/丙.txt"))), QUrl::fromLocalFile(files(s("C001/甲 1.txt")))};
    const QList<QUrl> urls = data->urls();
    QCOMPARE(QSet<QUrl>(urls.begin(), urls.end()), QSet<QUrl>(expected.begin(), expected.end()));
    const QList<QByteArray> lines = data->data(s("x-special/gnome-copied-files")).split('\n');
    QCOMPARE(lines.first(), gnome);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(data->data(s("application/x-kde-cutselection")), kde);
    // Read back as the paste reads it.
    const DocumentFolders::ClipboardFiles back = DocumentFolders::clipboardFiles(data);
    QCOMPARE(back.cut, gnome == "cut");
    QCOMPARE(back.files.size(), 2);
    QVERIFY(QFile::exists(files(s("C001/甲 1.txt"))));  // a cut moves nothing until the paste
}

void TestDocuments::clipboardPasteMovesAndSkips()
{
    QTemporaryDir desktop;
    writeFile(desktop.path() + s("/new.txt"), "new");
    writeFile(desktop.path() + s("/same.txt"), "from the desktop");
    QDir().mkpath(desktop.path() + s("/folder"));
    writeFile(files(s("C002/same.txt")), "already here");
    // A file manager's "cut" as GNOME writes it: the marker only, no uri-list.
    auto *data = new QMimeData;
    data->setData(s("x-special/gnome-copied-files"),
                  "cut\n" + QUrl::fromLocalFile(desktop.path() + s("/new.txt")).toEncoded() + '\n'
                      + QUrl::fromLocalFile(desktop.path() + s("/same.txt")).toEncoded() + '\n'
                      + QUrl::fromLocalFile(desktop.path() + s("/folder")).toEncoded());
    QGuiApplication::clipboard()->setMimeData(data);
    FileListRoot = FilesRoot + s("C002");
    m_tools->showListRoot();
    m_tools->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_tools));
    FolderView *view = m_tools->fileList();
    view->currentView()->setFocus();
    QTest::keyClick(view->currentView(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(readFile(files(s("C002/new.txt"))), QByteArray("new"));
    QVERIFY(!QFile::exists(desktop.path() + s("/new.txt")));  // moved
    QCOMPARE(readFile(files(s("C002/same.txt"))), QByteArray("already here"));
    QCOMPARE(readFile(desktop.path() + s("/same.txt")), QByteArray("from the desktop"));  // skipped, kept
    QVERIFY(!QFileInfo::exists(files(s("C002/folder"))));
    QVERIFY(QFileInfo(desktop.path() + s("/folder")).isDir());
    QCOMPARE(view->model()->names(), (QStringList{"new.txt", "same.txt"}));
    // A KDE copy: the uri-list with the marker "0" copies.
    auto *copy = new QMimeData;
    copy->setUrls({QUrl::fromLocalFile(files(s("C002/new.txt")))});
    copy->setData(s("application/x-kde-cutselection"), "0");
    QGuiApplication::clipboard()->setMimeData(copy);
    FileListRoot = FilesRoot + s("C001");
    m_tools->showListRoot();
    QCOMPARE(view->pasteFromClipboard(), 1);
    QVERIFY(QFile::exists(files(s("C001/new.txt"))));
    QVERIFY(QFile::exists(files(s("C002/new.txt"))));
}

void TestDocuments::menuCutWithToolsHidden()
{
    m_main->menuItem(s("文件管理及工具栏"))->trigger();
    QVERIFY(!m_tools->isVisible());
    FileListRoot = FilesRoot + s("Yuangong/Y01");  // set while hidden: no idle look shows it
    QTemporaryDir scans;
    writeFile(scans.path() + s("/体检.jpg"), "jpg");
    m_rec->files.enqueue(scans.path() + s("/体检.jpg"));
    QString folder, caption;
    QWidget *parent = nullptr;
    onDialog<TfrmPasteFile>([&](TfrmPasteFile *d) {
        folder = d->folder();
        caption = d->windowTitle();
        parent = d->parentWidget();
        QTest::mouseClick(d->sourceButton(), Qt::LeftButton);
        QTest::mouseClick(d->pasteButton(), Qt::LeftButton);
    });
    m_main->menuItem(s("剪切文件"))->trigger();
    QCOMPARE(folder, files(s("Yuangong/Y01")));
    QCOMPARE(caption, s("剪切文件"));
    QCOMPARE(parent, m_main.get());
    QVERIFY(QFile::exists(files(s("Yuangong/Y01/体检.jpg"))));
    QVERIFY(!QFile::exists(scans.path() + s("/体检.jpg")));
    QCOMPARE(logEntries(), (QStringList{"窗口-文件管理及工具栏", "文件管理-剪切文件"}));
}

void TestDocuments::dialogsBelongToTheToolWindow()
{
    QStringList parents;
    m_rec->onModal = [&](QDialog *d) {
        parents << (d->parentWidget() ? d->parentWidget()->objectName() : QString());
        return int(QDialog::Rejected);
    };
    m_main->action(s("File_New"))->trigger();
    clickTool("toolCopy");
    m_main->menuItem(s("复制文件"))->trigger();
    QCOMPARE(parents, (QStringList{"frmTools", "frmTools", "frmTools"}));
    QCOMPARE(m_rec->modalWindows, (QStringList{"frmNewFile", "frmPasteFile", "frmPasteFile"}));
}

void TestDocuments::doubleClickOpensOrEnters()
{
    writeFile(files(s("C001/合同.doc")), "doc");
    QDir().mkpath(files(s("C001/扫描件")));
    FileListRoot = FilesRoot + s("C001");
    m_tools->showListRoot();
    FolderView *view = m_tools->fileList();
    for (FolderView::Mode mode : {FolderView::Mode::Details, FolderView::Mode::LargeIcons}) {
        view->setMode(mode);
        QAbstractItemView *v = view->currentView();
        const QModelIndex file = view->model()->indexOf(s("合同.doc"));
        doubleClick(v, file);
        QCOMPARE(m_rec->opened.last(), QDir::toNativeSeparators(files(s("C001/合同.doc"))));
    }
    QCOMPARE(m_rec->opened.size(), 2);
    QAbstractItemView *v = view->currentView();
    doubleClick(v, view->model()->indexOf(s("扫描件")));
    QCOMPARE(m_tools->folder(), files(s("C001/扫描件")));
    QCOMPARE(FileListRoot, FilesRoot + s("C001/扫描件"));
    QCOMPARE(m_rec->opened.size(), 2);
}

void TestDocuments::elevenLogTexts()
{
    FileListRoot = FilesRoot + s("C001");
    m_tools->showListRoot();
    FolderView *view = m_tools->fileList();
    for (const char *tool : {"toolNewFile", "toolCut", "toolCopy", "toolRoot", "toolUp", "toolRefresh"})
        clickTool(tool);
    for (const char *item : {"menuSortByName", "menuLargeIcons", "menuSmallIcons", "menuList", "menuDetails", "menuRefresh"})
        view->menuAction(s(item))->trigger();
    QCOMPARE(logEntries(), (QStringList{"文件管理-新建文件", "文件管理-剪切文件", "文件管理-复制文件", "文件管理-文件根目录",
                                        "文件管理-向上", "文件管理-刷新", "文件管理-按名称排列", "文件管理-显示大图标",
                                        "文件管理-显示小图标", "文件管理-显示列表", "文件管理-显示详细资料",
                                        "文件管理-刷新"}));
    QCOMPARE(view->mode(), FolderView::Mode::Details);
    QVERIFY(view->menuAction(s("menuDetails"))->isChecked());
    QVERIFY(!view->menuAction(s("menuHeading"))->isEnabled());
    QCOMPARE(view->menuAction(s("menuHeading"))->text(), s("排列方式..."));
    QCOMPARE(m_rec->modalWindows, (QStringList{"frmNewFile", "frmPasteFile", "frmPasteFile"}));
}

void TestDocuments::utilities()
{
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir bin;
    writeFile(bin.path() + s("/gnome-calculator"), "#!/bin/sh\n");
    QFile(bin.path() + s("/gnome-calculator")).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    qputenv("PATH", bin.path().toLocal8Bit());
    m_tools->picture(s("picCalculator"))->click();
    QCOMPARE(m_rec->started, QList<QStringList>{{bin.path() + s("/gnome-calculator")}});
    qputenv("PATH", "");
    for (const char *name : {"picCalculator", "picCalendar", "picSysInfo"})
        m_tools->picture(s(name))->click();
    qputenv("PATH", path);
    QCOMPARE(m_rec->started.size(), 1);  // nothing there, nothing started
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(m_tools->windowTitle(), s("文件及工具栏"));  // no retitling of anything
    QCOMPARE(logEntries(), (QStringList{"工具-计算器", "工具-计算器", "工具-日历", "工具-系统信息"}));
    QCOMPARE(m_tools->picture(s("picSysInfo"))->text(), s("系统信息"));
}

void TestDocuments::envelopePicture()
{
    QToolButton *envelope = m_tools->picture(s("picEnvelope"));
    QCOMPARE(envelope->text(), s("信封标签"));
    // Installed, it opens the envelope window through the main window's opener by name.
    QVERIFY(envelope->isEnabled());
    m_tools->setEnvelopeOpener({});
    QVERIFY(!envelope->isEnabled());  // nothing to open
    int opened = 0;
    m_tools->setEnvelopeOpener([&] { ++opened; });
    QVERIFY(envelope->isEnabled());
    envelope->click();
    QCOMPARE(opened, 1);
}

void TestDocuments::closeBoxClearsTheCheck()
{
    QAction *check = m_main->menuItem(s("文件管理及工具栏"));
    QVERIFY(check->isChecked());
    m_tools->close();
    QVERIFY(!m_tools->isVisible());
    QVERIFY(!check->isChecked());
    check->trigger();
    QVERIFY(m_tools->isVisible());
    QVERIFY(check->isChecked());
}

void TestDocuments::placedBelowTheTopBarAtTheRightEdge()
{
    m_main->move(40, 30);
    m_tools->hide();
    m_tools->show();
    auto *bar = m_main->findChild<QToolBar *>(s("topBar"));
    QCOMPARE(m_tools->frameGeometry().top(), bar->mapToGlobal(QPoint(0, bar->height())).y());
    QCOMPARE(m_tools->frameGeometry().right() + 1, m_main->mapToGlobal(QPoint(m_main->width(), 0)).x());
    QVERIFY(m_tools->windowFlags() & Qt::WindowStaysOnTopHint);
    // Docked: it follows the main window.
    m_main->move(100, 60);
    QCOMPARE(m_tools->frameGeometry().right() + 1, m_main->mapToGlobal(QPoint(m_main->width(), 0)).x());
}

void TestDocuments::followsListRootWhenIdle()
{
    const auto idle = [] {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();  // blocks for events once: the loop has gone idle
    };
    FileListRoot = FilesRoot + s("C002");
    idle();
    QCOMPARE(m_tools->folder(), files(s("C002")));
    // Hidden it does not look; shown it does.
    m_tools->hide();
    FileListRoot = FilesRoot + s("Plans");
    idle();
    QCOMPARE(m_tools->folder(), files(s("C002")));
    m_tools->show();
    QCOMPARE(m_tools->folder(), files(s("Plans")));
    QVERIFY(m_tools->folderLabel()->text().endsWith(s("Plans")));
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
