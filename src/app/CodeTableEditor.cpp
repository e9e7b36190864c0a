#include "CodeTableEditor.h"

#include "DatasetError.h"
#include "DbColourCombo.h"
#include "DbComboBox.h"
#include "DbEdit.h"
#include "DbError.h"
#include "DbGrid.h"
#include "DbNumberEdit.h"
#include "Dialogs.h"
#include "ErrorHandler.h"
#include "FocusChain.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTreeView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

std::function<void(QWidget *)> &paletteOpener()
{
    static std::function<void(QWidget *)> open;
    return open;
}

GridColumn columnOf(const CodeTableField &f)
{
    switch (f.kind) {
    case CodeTableField::Kind::Colour:
        return GridColumn::colour(f.caption, f.field, f.width);
    case CodeTableField::Kind::Number: {
        GridColumn c = GridColumn::text(f.caption, f.field, f.width);
        c.alignment = Qt::AlignRight | Qt::AlignVCenter;
        return c;
    }
    case CodeTableField::Kind::Description:
        return GridColumn::text(f.caption, f.field, f.width);
    default:
        return GridColumn::centred(f.caption, f.field, f.width);
    }
}

}  // namespace

CodeTableEditor::CodeTableEditor(const CodeTable &table, bool readOnly, QWidget *parent)
    : QDialog(parent), m_table(table), m_readOnly(readOnly)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setObjectName(table.windowName.startsWith(u'T') ? table.windowName.mid(1) : table.windowName);
    setWindowTitle(table.caption);
    DataSource *src = dmMain->*(table.source);

    auto *layout = new QVBoxLayout(this);
    auto *bar = new QToolBar(this);
    bar->setObjectName(s("toolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    WindowKit::ToolRow row(bar, this, table.rightCode);
    const auto writable = [this] { return !m_readOnly; };
    Act_Add = row.add("Act_Add", s("新增"), "Insert", "Ctrl+A", writable, [this] { add(); });
    Act_Save = row.add("Act_Save", s("保存"), "", "Ctrl+S", writable, [this] {
        WriteLog(log("保存"));
        save();
    });
    Act_Del = row.add("Act_Del", s("删除"), "Delete", "Ctrl+D", writable, [this] { remove(); });
    Act_Close = row.add("Act_Close", s("关闭"), "", "", [this] { closeProcedure(); });
    layout->addWidget(bar);

    m_title = new QLabel(table.gridTitle.isEmpty() ? table.caption + s("列表：") : table.gridTitle, this);
    m_title->setObjectName(s("gridTitle"));
    layout->addWidget(m_title);
    m_grid = new DbGrid(this);
    m_grid->setObjectName(s("grid"));
    m_grid->setGroupPanelVisible(false);
    QList<GridColumn> columns;
    for (const CodeTableField &f : table.fields)
        columns << columnOf(f);
    m_grid->setColumns(columns);
    m_grid->setDataSource(src);
    m_title->setBuddy(m_grid);
    m_grid->view()->installEventFilter(this);
    m_grid->view()->viewport()->installEventFilter(this);
    layout->addWidget(m_grid, 1);

    auto *form = new QGridLayout;
    form->setColumnStretch(1, 1);
    int line = 0;
    for (const CodeTableField &f : table.fields) {
        QWidget *w = nullptr;
        switch (f.kind) {
        case CodeTableField::Kind::Choice: {
            auto *c = new DbComboBox(this);
            c->addItems(f.choices);
            c->bind(src, f.field);
            c->setReadOnly(readOnly);
            w = c;
            break;
        }
        case CodeTableField::Kind::Colour: {
            auto *c = new DbColourCombo(this);
            c->setPalette(dmMain->tblColor, s("ColorID"));
            c->bind(src, f.field);
            c->setReadOnly(readOnly);
            w = c;
            break;
        }
        case CodeTableField::Kind::Number: {
            auto *n = new DbNumberEdit(this);
            n->bind(src, f.field);
            n->setReadOnly(readOnly);
            w = n;
            break;
        }
        default: {
            auto *e = new DbEdit(this);
            e->bind(src, f.field);
            e->setReadOnly(readOnly);
            w = e;
            break;
        }
        }
        w->setObjectName(s("ed") + f.field);
        auto *label = new QLabel(f.label.isEmpty() ? f.caption + s("：") : f.label, this);
        label->setBuddy(w);
        form->addWidget(label, line, 0);
        // Edits without a button of their own reach as far as the palette button does.
        form->addWidget(w, line, 1, 1, f.kind == CodeTableField::Kind::Colour ? 1 : 2);
        if (f.kind == CodeTableField::Kind::Colour) {
            m_palette = new QPushButton(table.paletteButton.isEmpty() ? s("颜色信息") : table.paletteButton, this);
            m_palette->setObjectName(s("btnPalette"));
            m_palette->setAutoDefault(false);
            m_palette->setEnabled(!readOnly);
            connect(m_palette, &QPushButton::clicked, this, [this] {
                if (const auto &open = paletteOpener())
                    ErrorHandler::run(this, [&] { open(this); });
            });
            form->addWidget(m_palette, line, 2);
        }
        m_editors.insert(f.field.toLower(), w);
        m_order << w;
        ++line;
    }
    layout->addLayout(form);
    FocusChain::install(m_order, this);
    resize(560, 420 + 30 * int(table.fields.size()));
}

Dataset *CodeTableEditor::dataset() const
{
    return (dmMain->*(m_table.source))->dataset();
}

int CodeTableEditor::execute(const CodeTable &table, QWidget *parent)
{
    Dataset *d = (dmMain->*(table.source))->dataset();
    bool colour = false;
    for (const CodeTableField &f : table.fields)
        colour = colour || f.kind == CodeTableField::Kind::Colour;
    if (colour)
        OpenDatasets({d, dmMain->tblColor});
    else
        OpenDatasets({d});
    CodeTableEditor editor(table, !HasRight(table.rightCode), parent);
    return Dialogs::showModal(&editor);
}

void CodeTableEditor::setPaletteOpener(std::function<void(QWidget *)> open)
{
    paletteOpener() = std::move(open);
}

QString CodeTableEditor::log(const char *button) const
{
    return m_table.entryPrefix + u'-' + s(button);
}

bool CodeTableEditor::isBlank(const CodeTableField &f) const
{
    QWidget *w = editor(f.field);
    if (auto *c = qobject_cast<DbColourCombo *>(w))
        return c->text().isEmpty();
    if (auto *c = qobject_cast<DbComboBox *>(w))
        return c->text().trimmed().isEmpty();
    if (auto *n = qobject_cast<DbNumberEdit *>(w))
        return n->text().trimmed().isEmpty();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text().trimmed().isEmpty();
    return false;
}

bool CodeTableEditor::save()
{
    const CodeTableField *description = nullptr;
    for (const CodeTableField &f : m_table.fields) {
        if (f.kind == CodeTableField::Kind::Description) {
            description = &f;
            continue;
        }
        if (!f.message.isEmpty() && isBlank(f)) {
            Messages::warning(this, f.message);
            editor(f.field)->setFocus();
            return false;
        }
    }
    Dataset *d = dataset();
    if (!d->isActive() || !WindowKit::isEditing(d))
        return true;
    std::exception_ptr refused;
    bool duplicate = false;
    try {
        d->post();
        return true;
    } catch (const DatasetError &e) {
        refused = std::current_exception();
        duplicate = e.isDuplicate();
    } catch (const DbError &e) {
        refused = std::current_exception();
        duplicate = e.kind() == DbError::Kind::Duplicate;
    }
    // The description is required by the table itself: its refusal is the one told by name.
    // A taken code (in a file whose description may be empty) is told by the database.
    if (!duplicate && description && !description->message.isEmpty() && isBlank(*description)) {
        Messages::warning(this, description->message);
        editor(description->field)->setFocus();
    } else {
        ErrorHandler::run(this, [&] { std::rethrow_exception(refused); });
    }
    return false;
}

void CodeTableEditor::add()
{
    WriteLog(log("新增"));
    Dataset *d = dataset();
    OpenDatasets({d});
    // A row still pending gets the checks of "保存" before the next one starts.
    if (WindowKit::isEditing(d) && !save())
        return;
    d->append();
    m_order.first()->setFocus();
}

void CodeTableEditor::remove()
{
    WriteLog(log("删除"));
    Dataset *d = dataset();
    if (!d->isActive() || d->isEmpty())
        return;
    if (Messages::confirm(this, s("真的要删除该条记录吗?")))
        d->remove();
}

void CodeTableEditor::closeProcedure()
{
    Dataset *d = dataset();
    if (d->isActive() && WindowKit::isEditing(d))
        ErrorHandler::run(this, [d] { d->cancel(); });
    QDialog::reject();
}

void CodeTableEditor::reject()
{
    closeProcedure();
}

bool CodeTableEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Moving to another row posts the pending one: it passes the checks of "保存" first.
    bool moves = false;
    if (watched == m_grid->view()->viewport())
        moves = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    else if (watched == m_grid->view() && event->type() == QEvent::KeyPress)
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            moves = true;
            break;
        default:
            break;
        }
    if (moves && !m_readOnly) {
        Dataset *d = dataset();
        if (d->isActive() && WindowKit::isEditing(d) && !save())
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CodeTableEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_order.isEmpty())
        m_order.first()->setFocus();
}
