#include "uTools.h"

#include "DocumentFolders.h"
#include "ErrorHandler.h"
#include "FolderView.h"
#include "Utf8.h"
#include "uMain.h"
#include "uPictures.h"
#include "uPublic.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TfrmTools *frmTools = nullptr;

TfrmTools::TfrmTools(TfrmMain &main) : QWidget(&main, Qt::Tool | Qt::WindowStaysOnTopHint), m_main(main)
{
    frmTools = this;
    setObjectName(s("frmTools"));
    setWindowTitle(s("文件及工具栏"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    auto *pictures = new QHBoxLayout;
    pictures->setSpacing(2);
    buildPictures(pictures);
    layout->addLayout(pictures);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    buildToolBar();
    layout->addWidget(m_bar);
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(s("lblFolder"));
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_folderLabel);
    m_list = new FolderView(this);
    m_list->setObjectName(s("fileList"));
    layout->addWidget(m_list, 1);
    connect(m_list, &FolderView::folderEntered, this, [this](const QString &f) { moveTo(f); });

    setFixedSize(256, 470);
    hide();
    // The record windows write FileListRoot as they please: look whenever the loop is idle.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, [this] {
        if (isVisible())
            followListRoot();
    });
    main.installEventFilter(this);
}

TfrmTools::~TfrmTools()
{
    if (frmTools == this)
        frmTools = nullptr;
}

void TfrmTools::buildPictures(QLayout *layout)
{
    const struct
    {
        const char *name, *caption, *command;
    } pictures[] = {{"picCalculator", "计算器", "Tool_Calculator"},
                    {"picCalendar", "日历", "Tool_Calendar"},
                    {"picSysInfo", "系统信息", "Tool_SysInfo"},
                    {"picEnvelope", "信封标签", "Act_Envelop"}};
    for (const auto &p : pictures) {
        auto *b = new QToolButton(this);
        b->setObjectName(s(p.name));
        b->setText(s(p.caption));
        b->setToolTip(s(p.caption));
        b->setAccessibleName(s(p.caption));
        b->setIcon(Pictures::commandIcon(s(p.command)));
        b->setIconSize(QSize(32, 32));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        layout->addWidget(b);
        const QString command = s(p.command);
        if (command == u"Act_Envelop") {
            m_envelope = b;
            b->setEnabled(false);
            connect(b, &QToolButton::clicked, this, [this] {
                if (m_openEnvelope)
                    ErrorHandler::run(this, m_openEnvelope);
            });
        } else {
            // The main window's own tool command: one routine and one log entry.
            connect(b, &QToolButton::clicked, this, [this, command] {
                if (QAction *a = m_main.action(command))
                    a->trigger();
            });
        }
    }
}

void TfrmTools::buildToolBar()
{
    m_bar = new QToolBar(this);
    m_bar->setObjectName(s("fileBar"));
    m_bar->setIconSize(QSize(22, 22));
    m_bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const auto add = [this](const char *name, const char *text, const char *picture, std::function<void()> run) {
        QAction *a = m_bar->addAction(Pictures::commandIcon(s(picture)), s(text));
        a->setObjectName(s(name));
        a->setToolTip(s(text));
        connect(a, &QAction::triggered, this, [this, run] { ErrorHandler::run(this, run); });
        return a;
    };
    // The file commands are the main menu's: one routine and one log entry each.
    const auto menu = [this](const char *command) {
        return [this, command] {
            if (QAction *a = m_main.action(s(command)))
                a->trigger();
        };
    };
    add("toolNewFile", "新建文件", "File_New", menu("File_New"));
    add("toolCut", "剪切", "File_Cut", menu("File_Cut"));
    add("toolCopy", "复制", "File_Copy", menu("File_Copy"));
    m_bar->addSeparator();
    add("toolRoot", "文件根目录", "Files_Root", [this] {
        WriteLog(s("文件管理-文件根目录"));
        moveTo(DocumentFolders::root());
    });
    add("toolUp", "向上", "Files_Up", [this] {
        WriteLog(s("文件管理-向上"));
        moveTo(DocumentFolders::parentOf(m_list->folder().isEmpty() ? DocumentFolders::listRoot() : m_list->folder()));
    });
    add("toolRefresh", "刷新", "Files_Refresh", [this] {
        WriteLog(s("文件管理-刷新"));
        m_list->refresh();
    });
}

QToolButton *TfrmTools::picture(const QString &objectName) const
{
    return findChild<QToolButton *>(objectName);
}

QString TfrmTools::folder() const
{
    return m_list->folder();
}

void TfrmTools::setEnvelopeOpener(std::function<void()> open)
{
    m_openEnvelope = std::move(open);
    m_envelope->setEnabled(bool(m_openEnvelope));
}

void TfrmTools::moveTo(const QString &folder)
{
    DocumentFolders::setListRoot(folder);
    m_seen = FileListRoot;
    m_list->setFolder(DocumentFolders::listRoot());
    showFolderName();
}

void TfrmTools::followListRoot()
{
    if (FileListRoot == m_seen && !m_list->folder().isEmpty())
        return;
    showListRoot();
}

void TfrmTools::showListRoot()
{
    m_seen = FileListRoot;
    m_list->setFolder(DocumentFolders::listRoot());
    showFolderName();
}

void TfrmTools::showFolderName()
{
    // Spelt from the document root as the user knows it: "Files\C000001".
    const QString root = DocumentFolders::root();
    const QString folder = m_list->folder();
    const QString shown = QFileInfo(root).fileName() + folder.mid(root.size());
    m_folderLabel->setText(m_folderLabel->fontMetrics().elidedText(QDir::toNativeSeparators(shown), Qt::ElideLeft,
                                                                   width() - 12));
    m_folderLabel->setToolTip(QDir::toNativeSeparators(folder));
}

void TfrmTools::placeBesideMain()
{
    auto *bar = m_main.findChild<QToolBar *>(s("topBar"));
    const int top = bar ? bar->mapToGlobal(QPoint(0, bar->height())).y() : m_main.geometry().top();
    const int right = m_main.mapToGlobal(QPoint(m_main.width(), 0)).x();
    move(right - frameGeometry().width(), top);
}

QWidget *TfrmTools::dialogParent()
{
    return isVisible() ? static_cast<QWidget *>(this) : &m_main;
}

void TfrmTools::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    placeBesideMain();
    showListRoot();
}

bool TfrmTools::eventFilter(QObject *watched, QEvent *event)
{
    // Docked: it follows the main window wherever that goes.
    if (watched == &m_main && isVisible()
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show))
        placeBesideMain();
    return QWidget::eventFilter(watched, event);
}
