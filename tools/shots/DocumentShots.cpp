// The file tool window beside the main window (the schedule folder as details, a customer's
// folder as large icons), the new-file dialog and the paste dialog.
#include "Shots.h"

#include "FolderView.h"
#include "uMain.h"
#include "uNewFile.h"
#include "uPasteFile.h"
#include "uPublic.h"
#include "uTools.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

namespace {

// The main window with the tool window over its right edge, as the screen shows them.
class Beside : public QWidget
{
public:
    explicit Beside(TfrmMain &main) : m_main(main)
    {
        const QRect tools(frmTools->pos() - m_main.pos(), frmTools->size());
        resize(QRect(QPoint(0, 0), m_main.size()).united(tools).size());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawPixmap(0, 0, m_main.grab());
        const QPoint at = frmTools->pos() - m_main.pos();
        p.drawPixmap(at, frmTools->grab());
        // No window manager frames it under Xvfb: an outline shows where the window lies.
        p.setPen(QColor(0x70, 0x80, 0x90));
        p.drawRect(QRect(at, frmTools->size()).adjusted(0, 0, -1, -1));
    }

private:
    TfrmMain &m_main;
};

Beside *shown = nullptr;

QWidget *toolsAt(TfrmMain &main, const QString &folder, FolderView::Mode mode)
{
    main.action(QStringLiteral("Act_Plan"))->trigger();  // the schedule page keeps the tool window shown
    FileListRoot = folder;
    frmTools->showListRoot();
    frmTools->fileList()->setMode(mode);
    frmTools->placeBesideMain();
    shown = new Beside(main);
    return shown;
}

}  // namespace

void addDocumentShots(QList<Shot> &shots)
{
    shots.append({QStringLiteral("documents-plans-details"),
                  [](TfrmMain &main) { return toolsAt(main, FilesRoot + QStringLiteral("Plans"), FolderView::Mode::Details); },
                  [] { delete shown; }});
    shots.append({QStringLiteral("documents-customer-icons"), [](TfrmMain &main) {
                      return toolsAt(main, FilesRoot + QStringLiteral("C000001"), FolderView::Mode::LargeIcons);
                  },
                  [] { delete shown; }});
    static TfrmNewFile *newFile = nullptr;
    shots.append({QStringLiteral("documents-newfile"),
                  [](TfrmMain &) -> QWidget * {
                      FileListRoot = FilesRoot + QStringLiteral("C000001");
                      newFile = new TfrmNewFile(FileListRoot, frmTools);
                      newFile->nameEdit()->setText(QStringLiteral("客户来函"));
                      newFile->typeBox()->setCurrentIndex(1);
                      newFile->show();
                      return newFile;
                  },
                  [] { delete newFile; }});
    static TfrmPasteFile *paste = nullptr;
    shots.append({QStringLiteral("documents-paste"),
                  [](TfrmMain &) -> QWidget * {
                      FileClipboardMode = QStringLiteral("Copy");
                      FileListRoot = FilesRoot + QStringLiteral("C000002");
                      paste = new TfrmPasteFile(FileListRoot, frmTools);
                      paste->fileList()->setMode(FolderView::Mode::Details);
                      paste->show();
                      return paste;
                  },
                  [] { delete paste; }});
}
