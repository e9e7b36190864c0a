#pragma once

#include <QDialog>

class FolderTree;
class FolderView;
class QComboBox;
class QLabel;
class QPushButton;

// "复制文件" / "剪切文件": a file from anywhere copied or moved into a document folder, never
// over an existing file. The mode is FileClipboardMode as the opening command set it.
class TfrmPasteFile : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmPasteFile(const QString &folder, QWidget *parent = nullptr);

    // Shows the dialog modally at the folder the file lists show.
    static void execute(QWidget *parent);

    bool isCut() const { return m_cut; }
    QString source() const { return m_source; }
    QString folder() const { return m_folder; }
    // "请选择源文件目录": the file chosen in the open dialog becomes the source.
    void chooseSource();
    // A folder chosen in the tree or entered in the list: the target and the file lists' folder.
    void chooseFolder(const QString &folder);
    // "粘贴": the source into the target folder; failures stay silent. The dialog stays open.
    void paste();

    QPushButton *sourceButton() const { return m_sourceButton; }
    QLabel *sourceLabel() const { return m_sourceLabel; }
    FolderTree *folderTree() const { return m_tree; }
    QComboBox *driveList() const { return m_drives; }
    FolderView *fileList() const { return m_list; }
    QPushButton *pasteButton() const { return m_paste; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setSource(const QString &path);

    bool m_cut = false;
    QString m_source;
    QString m_folder;
    QPushButton *m_sourceButton = nullptr;
    QLabel *m_sourceLabel = nullptr;
    FolderTree *m_tree = nullptr;
    QComboBox *m_drives = nullptr;
    FolderView *m_list = nullptr;
    QPushButton *m_paste = nullptr;
    QPushButton *m_cancel = nullptr;
};
