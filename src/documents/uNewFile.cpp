#include "uNewFile.h"

#include "Dialogs.h"
#include "DocumentFolders.h"
#include "ErrorHandler.h"
#include "FolderTree.h"
#include "FolderView.h"
#include "Messages.h"
#include "Utf8.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <iterator>

namespace {

// The file types in the order of the list; a type's position picks the extension.
const char *const TypeCaptions[] = {"文本文件（*.Txt）", "Microsoft Word文档（*.doc)", "Microsoft Excel文件（*.xls）"};
const char *const Extensions[] = {".txt", ".doc", ".xls"};

}  // namespace

TfrmNewFile::TfrmNewFile(const QString &folder, QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmNewFile"));
    setWindowTitle(s("新建文件"));
    m_folder = DocumentFolders::bounded(folder);

    m_name = new QLineEdit(this);
    m_name->setObjectName(s("edtFileName"));
    auto *nameLabel = new QLabel(s("文 件 名："), this);
    nameLabel->setBuddy(m_name);
    m_type = new QComboBox(this);
    m_type->setObjectName(s("cbxFileType"));
    for (const char *caption : TypeCaptions)
        m_type->addItem(s(caption));
    m_type->setCurrentIndex(-1);
    auto *typeLabel = new QLabel(s("文件类型："), this);
    typeLabel->setBuddy(m_type);

    m_tree = new FolderTree(this);
    m_drives = m_tree->makeDriveList(this);
    auto *folderCaption = new QLabel(s("请选择文件目录："), this);
    folderCaption->setBuddy(m_tree);
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(s("lblFolder"));
    m_folderLabel->setFrameShape(QFrame::StyledPanel);
    m_folderLabel->setFrameShadow(QFrame::Sunken);
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_list = new FolderView(this);
    m_list->setObjectName(s("fileList"));

    m_new = new QPushButton(s("新建..."), this);
    m_new->setObjectName(s("btnNew"));
    m_ok = new QPushButton(s("确定"), this);
    m_ok->setObjectName(s("btnOk"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(s("取消"), this);
    m_cancel->setObjectName(s("btnCancel"));

    auto *fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(typeLabel, 0, 2);
    fields->addWidget(m_type, 0, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(folderCaption);
    left->addWidget(m_drives);
    left->addWidget(m_tree, 1);
    auto *lists = new QHBoxLayout;
    lists->addLayout(left, 2);
    lists->addWidget(m_list, 3);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_new);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(lists, 1);
    layout->addWidget(m_folderLabel);
    layout->addLayout(buttons);
    resize(600, 420);

    connect(m_tree, &FolderTree::folderChosen, this, [this](const QString &f) { chooseFolder(f); });
    connect(m_list, &FolderView::folderEntered, this, [this](const QString &f) { chooseFolder(f); });
    connect(m_ok, &QPushButton::clicked, this, [this] { ErrorHandler::run(this, [this] { create(); }); });
    connect(m_new, &QPushButton::clicked, this, [this] { startNext(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_tree->showFolder(m_folder);
    m_list->setFolder(m_folder);
    m_folderLabel->setText(QDir::toNativeSeparators(m_folder));
}

void TfrmNewFile::execute(QWidget *parent)
{
    TfrmNewFile dialog(DocumentFolders::listRoot(), parent);
    Dialogs::showModal(&dialog);
}

void TfrmNewFile::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_name->setFocus();
}

void TfrmNewFile::chooseFolder(const QString &folder)
{
    m_folder = DocumentFolders::bounded(folder);
    m_folderLabel->setText(QDir::toNativeSeparators(m_folder));
    if (m_list->folder() != m_folder)
        m_list->setFolder(m_folder);
    if (QTreeWidgetItem *item = m_tree->itemFor(m_folder))
        m_tree->setCurrentItem(item);
    DocumentFolders::setListRoot(m_folder);
}

void TfrmNewFile::create()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        Messages::warning(this, s("请输入需要创建的文件名称！"));
        m_name->setFocus();
        return;
    }
    if (!DocumentFolders::isValidName(name)) {
        Messages::warning(this, s("文件名称不能包含路径或非法字符！"));
        m_name->setFocus();
        return;
    }
    const int type = m_type->currentIndex();
    if (type < 0 || type >= int(std::size(Extensions))) {
        Messages::warning(this, s("请选择需要创建的文件的类型！"));
        m_type->setFocus();
        return;
    }
    const QString fileName = name + s(Extensions[type]);
    QString error;
    switch (DocumentFolders::createEmpty(m_folder, fileName, &error)) {
    case DocumentFolders::Created::Ok:
        m_list->refresh();
        m_list->selectNames({fileName});
        break;
    case DocumentFolders::Created::Exists:
        Messages::warning(this, s("对不起，该文件已经存在！"));
        m_name->setFocus();
        break;
    case DocumentFolders::Created::Outside:
        break;
    case DocumentFolders::Created::Failed:
        Messages::warning(this, s("对不起，文件无法创建：") + error);
        break;
    }
}

void TfrmNewFile::startNext()
{
    m_name->clear();
    m_name->setFocus();
}
