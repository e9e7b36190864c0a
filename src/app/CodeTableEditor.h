#pragma once

#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class DataSource;
class Dataset;
class DbGrid;
class QAction;
class QLabel;
class QPushButton;
class TdmMain;

// One field of a code table as its editor shows it.
struct CodeTableField
{
    enum class Kind {
        Text,        // a one-line edit; centred in the grid
        Choice,      // a drop-down of fixed texts (`choices`)
        Colour,      // a drop-down of the palette's colour values, with the palette button
        Number,      // a number edit with a calculator; right-aligned in the grid
        Description  // the description: checked only when the database refuses the row
    };
    QString field;
    QString caption;      // grid column caption
    QString label;        // edit label; empty: the caption followed by "："
    QString message;      // the warning when the edit is empty; empty: not required
    Kind kind = Kind::Text;
    QStringList choices;  // Choice only
    int width = 100;      // grid column width
};

// What one member of the code-table family differs in. The editor writes no opening
// entry: the command that opens it does.
struct CodeTable
{
    QString windowName;  // "TfrmCustLevel"; the editor's object name drops the "T"
    QString actionName;  // the main-window command that opens it ("Act_CustLevel")
    QString caption;
    QString gridTitle;   // empty: the caption followed by "列表："
    QString rightCode;   // gates "新增" (Insert) and "删除" (Delete); without it the editor is read-only
    DataSource *TdmMain::*source = nullptr;
    QString entryPrefix;  // log entries are the prefix and "-新增", "-保存", "-删除"
    QList<CodeTableField> fields;  // in Enter order, which is also the order of the checks
    QString paletteButton;         // caption of the palette button; empty: "颜色信息"
};

// The modal editor of one code table: its rows in a grid, the current row in the edits
// below it, "新增", "保存", "删除" and "关闭". Rows are changed in the shared dataset of
// the data module, so every lookup of the code sees a change at once.
class CodeTableEditor : public QDialog
{
    Q_OBJECT

public:
    // `readOnly`: the rows can be looked at but not changed ("保存" and the edits off).
    CodeTableEditor(const CodeTable &table, bool readOnly, QWidget *parent = nullptr);

    // Opens the table (and the palette) where not open, then shows the editor modally;
    // read-only when the current user lacks the table's right code.
    static int execute(const CodeTable &table, QWidget *parent);
    // The palette window the colour button opens (set once by the window folder that has it).
    static void setPaletteOpener(std::function<void(QWidget *parent)> open);

    const CodeTable &table() const { return m_table; }
    Dataset *dataset() const;
    bool isReadOnly() const { return m_readOnly; }
    DbGrid *grid() const { return m_grid; }
    QLabel *gridTitle() const { return m_title; }
    // The edit of a field (case-insensitive name); nullptr when the table has none.
    QWidget *editor(const QString &field) const { return m_editors.value(field.toLower()); }
    QList<QWidget *> enterOrder() const { return m_order; }
    QPushButton *paletteButton() const { return m_palette; }

    QAction *Act_Add = nullptr;
    QAction *Act_Save = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Close = nullptr;

    // "保存" after its log entry: the checks in order, then the post of a pending row.
    // False when a check or the database stopped it (told, focus on the field).
    bool save();
    // "关闭": a pending insert or edit is cancelled, then the editor closes.
    void closeProcedure();
    // The close box and Escape run "关闭".
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void add();
    void remove();
    QString log(const char *button) const;
    bool isBlank(const CodeTableField &f) const;

    CodeTable m_table;
    bool m_readOnly;
    DbGrid *m_grid = nullptr;
    QLabel *m_title = nullptr;
    QPushButton *m_palette = nullptr;
    QHash<QString, QWidget *> m_editors;
    QList<QWidget *> m_order;
};
