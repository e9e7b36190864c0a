#pragma once

#include <QDialog>

class FolderTree;
class FolderView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "新建文件": empty documents of a chosen type in a chosen document folder, one after another.
class TfrmNewFile : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmNewFile(const QString &folder, QWidget *parent = nullptr);

    // Shows the dialog modally at the folder the file lists show.
    static void execute(QWidget *parent);

    QString folder() const { return m_folder; }
    // A folder chosen in the tree or entered in the list: the dialog's and the file lists' folder.
    void chooseFolder(const QString &folder);
    // "确定": checks the name and type, then creates the empty file; the dialog stays open.
    void create();
    // "新建...": an empty name, focused, for the next file.
    void startNext();

    QLineEdit *nameEdit() const { return m_name; }
    QComboBox *typeBox() const { return m_type; }
    FolderTree *folderTree() const { return m_tree; }
    QComboBox *driveList() const { return m_drives; }
    QLabel *folderLabel() const { return m_folderLabel; }
    FolderView *fileList() const { return m_list; }
    QPushButton *newButton() const { return m_new; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_folder;
    QLineEdit *m_name = nullptr;
    QComboBox *m_type = nullptr;
    FolderTree *m_tree = nullptr;
    QComboBox *m_drives = nullptr;
    QLabel *m_folderLabel = nullptr;
    FolderView *m_list = nullptr;
    QPushButton *m_new = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
