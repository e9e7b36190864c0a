#include "uColor.h"

#include "ColourValue.h"
#include "DbGrid.h"
#include "Dialogs.h"
#include "Messages.h"
#include "Utf8.h"
#include "WindowKit.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

TfrmColor::TfrmColor(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setObjectName(s("frmColor"));
    setWindowTitle(s("颜色设置信息"));
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    WindowKit::ToolRow row(bar, this, QString());
    Act_Add = row.add("Act_Add", s("新增"), "", "", [this] { add(); });
    Act_Del = row.add("Act_Del", s("删除"), "", "", [this] { remove(); });
    Act_Close = row.add("Act_Close", s("关闭"), "", "", [this] { reject(); });
    layout->addWidget(bar);

    auto *title = new QLabel(s("颜色信息列表："), this);
    layout->addWidget(title);
    m_grid = new DbGrid(this);
    m_grid->setObjectName(s("grid"));
    m_grid->setGroupPanelVisible(false);
    m_grid->setColumns({GridColumn::colour(s("颜色信息"), s("ColorID"), 160)});
    m_grid->setDataSource(dmMain->dsColor);
    title->setBuddy(m_grid);
    layout->addWidget(m_grid, 1);
    connect(m_grid->view(), &QTreeView::clicked, this, [this] { showCurrent(); });
    connect(dmMain->tblColor, &Dataset::currentChanged, this, [this] { showCurrent(); });

    auto *sampleRow = new QHBoxLayout;
    auto *sampleLabel = new QLabel(s("颜色显示："), this);
    m_sample = new QFrame(this);
    m_sample->setObjectName(s("pnlSample"));
    m_sample->setFrameShape(QFrame::Panel);
    m_sample->setFrameShadow(QFrame::Sunken);
    m_sample->setMinimumHeight(32);
    m_sample->setAutoFillBackground(true);
    sampleLabel->setBuddy(m_sample);
    sampleRow->addWidget(sampleLabel);
    sampleRow->addWidget(m_sample, 1);
    layout->addLayout(sampleRow);
    resize(300, 400);
}

int TfrmColor::execute(QWidget *parent)
{
    OpenDatasets({dmMain->tblColor});
    TfrmColor palette(parent);
    palette.showCurrent();
    return Dialogs::showModal(&palette);
}

void TfrmColor::showSample(const QColor &colour)
{
    m_sampleColour = colour;
    QPalette p = m_sample->palette();
    p.setColor(QPalette::Window, colour.isValid() ? colour : palette().color(QPalette::Window));
    m_sample->setPalette(p);
}

void TfrmColor::showCurrent()
{
    Dataset *d = dmMain->tblColor;
    if (!d->isActive() || d->isEmpty() || d->field(s("ColorID")).isNull()) {
        showSample(QColor());
        return;
    }
    showSample(ColourValue::toColour(d->field(s("ColorID")).asInteger()));
}

void TfrmColor::add()
{
    Dataset *d = dmMain->tblColor;
    OpenDatasets({d});
    const QColor chosen = Dialogs::colour(this, m_sampleColour.isValid() ? m_sampleColour : QColor(Qt::white));
    if (!chosen.isValid())
        return;
    d->append();
    try {
        d->field(s("ColorID")).setValue(ColourValue::fromColour(chosen));
        showSample(chosen);
        d->post();
    } catch (...) {
        // A refused row is not left pending for another window's move to post.
        d->cancel();
        throw;
    }
    showCurrent();
}

void TfrmColor::remove()
{
    Dataset *d = dmMain->tblColor;
    if (!d->isActive() || d->isEmpty())
        return;
    if (Messages::confirm(this, s("真的要删除该条记录吗?")))
        d->remove();
    showCurrent();
}

void TfrmColor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    showCurrent();
}
