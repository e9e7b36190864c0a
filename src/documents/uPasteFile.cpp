#include "uPasteFile.h"

#include "Dialogs.h"
#include "DocumentFolders.h"
#include "ErrorHandler.h"
#include "FolderTree.h"
#include "FolderView.h"
#include "Messages.h"
#include "Utf8.h"
#include "uPublic.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPasteFile::TfrmPasteFile(const QString &folder, QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmPasteFile"));
    m_cut = FileClipboardMode == u"Cut";
    setWindowTitle(m_cut ? s("剪切文件") : s("复制文件"));
    m_folder = DocumentFolders::bounded(folder);

    m_sourceButton = new QPushButton(s("请选择源文件目录"), this);
    m_sourceButton->setObjectName(s("btnSource"));
    m_sourceLabel = new QLabel(this);
    m_sourceLabel->setObjectName(s("lblSource"));
    m_sourceLabel->setFrameShape(QFrame::StyledPanel);
    m_sourceLabel->setFrameShadow(QFrame::Sunken);
    m_sourceLabel->setMinimumWidth(200);
    m_sourceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_tree = new FolderTree(this);
    m_drives = m_tree->makeDriveList(this);
    auto *targetCaption = new QLabel(s("请选择目标文件夹："), this);
    targetCaption->setBuddy(m_tree);
    m_list = new FolderView(this);
    m_list->setObjectName(s("fileList"));

    m_paste = new QPushButton(s("粘贴"), this);
    m_paste->setObjectName(s("btnPaste"));
    m_paste->setDefault(true);
    m_cancel = new QPushButton(s("取消"), this);
    m_cancel->setObjectName(s("btnCancel"));

    auto *sourceRow = new QHBoxLayout;
    sourceRow->addWidget(m_sourceButton);
    sourceRow->addWidget(m_sourceLabel, 1);
    auto *left = new QVBoxLayout;
    left->addWidget(targetCaption);
    left->addWidget(m_drives);
    left->addWidget(m_tree, 1);
    auto *lists = new QHBoxLayout;
    lists->addLayout(left, 2);
    lists->addWidget(m_list, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_paste);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(sourceRow);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(600, 400);

    connect(m_sourceButton, &QPushButton::clicked, this, [this] { chooseSource(); });
    connect(m_tree, &FolderTree::folderChosen, this, [this](const QString &f) { chooseFolder(f); });
    connect(m_list, &FolderView::folderEntered, this, [this](const QString &f) { chooseFolder(f); });
    connect(m_paste, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { paste(); }); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_tree->showFolder(m_folder);
    m_list->setFolder(m_folder);
}

void TfrmPasteFile::execute(QWidget *parent)
{
    TfrmPasteFile dialog(DocumentFolders::listRoot(), parent);
    Dialogs::showModal(&dialog);
}

void TfrmPasteFile::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    setSource({});
}

void TfrmPasteFile::setSource(const QString &path)
{
    m_source = path;
    m_sourceLabel->setText(QDir::toNativeSeparators(path));
    m_sourceLabel->setToolTip(m_sourceLabel->text());
}

void TfrmPasteFile::chooseSource()
{
    const QString start = m_source.isEmpty() ? QDir::homePath() : QFileInfo(m_source).absolutePath();
    const QString chosen = Dialogs::openFile(this, s("请选择源文件"), start, s("所有文件 (*)"));
    if (!chosen.isEmpty())
        setSource(QFileInfo(chosen).absoluteFilePath());
}

void TfrmPasteFile::chooseFolder(const QString &folder)
{
    m_folder = DocumentFolders::bounded(folder);
    if (m_list->folder() != m_folder)
        m_list->setFolder(m_folder);
    if (QTreeWidgetItem *item = m_tree->itemFor(m_folder))
        m_tree->setCurrentItem(item);
    DocumentFolders::setListRoot(m_folder);
}

void TfrmPasteFile::paste()
{
    if (m_source.isEmpty()) {
        Messages::warning(this, s("请选择源文件！"));
        return;
    }
    const QString name = QFileInfo(m_source).fileName();
    const DocumentFolders::Pasted result = DocumentFolders::paste(m_source, m_folder, m_cut);
    // A moved file is no longer where the label points.
    if (result == DocumentFolders::Pasted::Moved)
        setSource({});
    m_list->refresh();
    if (result == DocumentFolders::Pasted::Copied || result == DocumentFolders::Pasted::Moved)
        m_list->selectNames({name});
}
