#include "GridFindBar.h"

#include "DbGrid.h"
#include "ErrorHandler.h"
#include "GridExport.h"
#include "PinyinKeys.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringMatcher>
#include <QToolButton>
#include <QTreeView>

namespace {

// Lower case in place, ASCII without a table look-up: keys of a whole list are made at once.
void lowerInPlace(QString &s)
{
    for (QChar &c : s) {
        const char16_t u = c.unicode();
        if (u < 128) {
            if (u >= 'A' && u <= 'Z')
                c = QChar(char16_t(u + 32));
        } else if (!c.isSurrogate()) {
            c = c.toLower();
        }
    }
}

}  // namespace

GridFindBar::GridFindBar(DbGrid *grid) : QWidget(grid), m_grid(grid)
{
    setObjectName(QStringLiteral("findBar"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    auto *label = new QLabel(QStringLiteral("查找："), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("findText"));
    m_edit->setClearButtonEnabled(true);
    label->setBuddy(m_edit);
    const auto button = [this](const QString &text, Qt::ArrowType arrow) {
        auto *b = new QToolButton(this);
        b->setArrowType(arrow);
        b->setToolTip(text);
        b->setAccessibleName(text);
        b->setAutoRaise(true);
        return b;
    };
    m_next = button(QStringLiteral("查找下一个"), Qt::DownArrow);
    m_previous = button(QStringLiteral("查找上一个"), Qt::UpArrow);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("findStatus"));
    auto *close = new QToolButton(this);
    close->setText(QStringLiteral("×"));
    close->setToolTip(QStringLiteral("关闭查找"));
    close->setAccessibleName(QStringLiteral("关闭查找"));
    close->setAutoRaise(true);
    row->addWidget(label);
    row->addWidget(m_edit, 1);
    row->addWidget(m_next);
    row->addWidget(m_previous);
    row->addWidget(m_status);
    row->addWidget(close);
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::returnPressed, this, [this] { find(true); });
    connect(m_edit, &QLineEdit::textChanged, this, [this] { m_status->clear(); });
    connect(m_next, &QToolButton::clicked, this, [this] { find(true); });
    connect(m_previous, &QToolButton::clicked, this, [this] { find(false); });
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    // Keys are made when a find asks for them and kept until the rows change.
    DatasetModel *model = grid->model();
    connect(model, &DatasetModel::rebuilt, this, &GridFindBar::forget);
    connect(model, &QAbstractItemModel::dataChanged, this, &GridFindBar::forget);
    connect(model, &QAbstractItemModel::modelReset, this, &GridFindBar::forget);
    hide();
}

QString GridFindBar::status() const
{
    return m_status->text();
}

void GridFindBar::open()
{
    show();
    m_edit->setFocus();
    m_edit->selectAll();
}

void GridFindBar::forget()
{
    m_keys.clear();
    m_made.clear();
}

bool GridFindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        hide();
        m_grid->view()->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

const QString &GridFindBar::keysOf(int visibleRow, const QList<int> &columns)
{
    if (size_t(visibleRow) >= m_made.size()) {
        m_made.resize(size_t(visibleRow) + 1, false);
        m_keys.resize(size_t(visibleRow) + 1);
    }
    QString &keys = m_keys[size_t(visibleRow)];
    if (m_made[size_t(visibleRow)])
        return keys;
    keys.reserve(256);
    for (int column : columns) {
        const QString text = m_grid->model()->displayText(visibleRow, column);
        keys += text;
        keys += u'\x1f';
        PinyinKeys::appendTo(keys, text);
    }
    lowerInPlace(keys);
    keys.squeeze();
    m_made[size_t(visibleRow)] = true;
    return keys;
}

bool GridFindBar::find(bool forward)
{
    QString wanted = m_edit->text().trimmed();
    lowerInPlace(wanted);
    Dataset *d = m_grid->model()->dataset();
    if (wanted.isEmpty() || !d || !d->isActive())
        return false;
    QList<int> columns;
    for (const GridExport::Column &c : GridExport::shownColumns(*m_grid))
        columns << c.modelColumn;
    if (columns != m_cachedColumns) {
        forget();
        m_cachedColumns = columns;
    }
    const std::vector<int> rows = m_grid->model()->rowsInViewOrder();
    if (m_made.size() < size_t(d->recordCount())) {
        m_made.resize(size_t(d->recordCount()), false);
        m_keys.resize(size_t(d->recordCount()));
    }
    const QStringMatcher matcher(wanted);
    const int n = int(rows.size());
    int at = -1;
    const int current = d->currentRow();
    for (int i = 0; i < n && current >= 0; ++i)
        if (rows[size_t(i)] == current) {
            at = i;
            break;
        }
    for (int step = 1; step <= n; ++step) {
        const int i = forward ? (at + step) % n : ((at < 0 ? 0 : at) - step + 2 * n) % n;
        const int row = rows[size_t(i)];
        if (matcher.indexIn(keysOf(row, columns)) < 0)
            continue;
        m_status->clear();
        // A move like any other: a pending edit is posted first, a refusal is shown.
        return ErrorHandler::run(this, [&] {
            if (d->currentRow() != row || d->state() != Dataset::State::Browse)
                d->setCurrentRow(row);
        });
    }
    m_status->setText(QStringLiteral("未找到"));
    return false;
}
