#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class FolderView;
class QLabel;
class QToolBar;
class QToolButton;
class TfrmMain;

// "文件及工具栏": a stay-on-top window at the main window's right edge with the utility
// pictures and the document folder that the record windows point FileListRoot at.
class TfrmTools : public QWidget
{
    Q_OBJECT

public:
    // Created hidden; the main window shows it.
    explicit TfrmTools(TfrmMain &main);
    ~TfrmTools() override;

    FolderView *fileList() const { return m_list; }
    QToolBar *toolBar() const { return m_bar; }
    QLabel *folderLabel() const { return m_folderLabel; }
    QToolButton *picture(const QString &objectName) const;
    QString folder() const;

    // What the envelope picture opens; until set the picture is disabled.
    void setEnvelopeOpener(std::function<void()> open);
    // Shows FileListRoot when it changed since it was last shown.
    void followListRoot();
    // Reads FileListRoot and its folder again.
    void showListRoot();
    // Below the main window's top bar, at its right edge.
    void placeBesideMain();
    // Dialogs opened for the file commands belong to this window while it is shown, so they
    // never open beneath it; otherwise to the main window.
    QWidget *dialogParent();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPictures(QLayout *layout);
    void buildToolBar();
    void moveTo(const QString &folder);
    void showFolderName();

    TfrmMain &m_main;
    FolderView *m_list = nullptr;
    QToolBar *m_bar = nullptr;
    QLabel *m_folderLabel = nullptr;
    QToolButton *m_envelope = nullptr;
    std::function<void()> m_openEnvelope;
    QString m_seen;  // the FileListRoot shown last
};

extern TfrmTools *frmTools;
