#include "uReport.h"

#include "Dialogs.h"
#include "Messages.h"
#include "ReportRenderer.h"
#include "Shell.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
std::function<void()> g_help;
}

void TfrmReport::setHelpHandler(std::function<void()> handler)
{
    g_help = std::move(handler);
}

TfrmReport::TfrmReport(std::unique_ptr<ReportRenderer> renderer, const QString &title, QWidget *parent)
    : QDialog(parent), m_renderer(std::move(renderer)), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_title(title)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("报表预览"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    auto *zoomLabel = new QLabel(QStringLiteral("显示比例："), this);
    m_zoom = new QComboBox(this);
    m_zoom->addItems({QStringLiteral("100%"), QStringLiteral("75%"), QStringLiteral("50%"), QStringLiteral("150%"),
                      QStringLiteral("200%")});
    zoomLabel->setBuddy(m_zoom);
    bar->addWidget(zoomLabel);
    bar->addWidget(m_zoom);
    bar->addSpacing(12);
    const auto button = [&](const QString &text, const char *name) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        bar->addWidget(b);
        return b;
    };
    QPushButton *print = button(QStringLiteral("打印"), "btPrint");
    QPushButton *pdf = button(QStringLiteral("导出PDF"), "btPdf");
    QPushButton *help = button(QStringLiteral("帮助"), "btHelp");
    QPushButton *close = button(QStringLiteral("关闭"), "btClose");
    bar->addStretch();
    layout->addLayout(bar);
    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    layout->addWidget(m_preview, 1);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) { m_renderer->render(printer); });
    connect(m_zoom, &QComboBox::currentIndexChanged, this, &TfrmReport::zoomChanged);
    connect(print, &QPushButton::clicked, this, &TfrmReport::print);
    connect(pdf, &QPushButton::clicked, this, &TfrmReport::exportPdf);
    connect(help, &QPushButton::clicked, this, [] {
        if (g_help)
            g_help();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(1000, 760);
    zoomChanged(0);
}

TfrmReport::~TfrmReport() = default;

void TfrmReport::zoomChanged(int index)
{
    const double factors[] = {1.0, 0.75, 0.5, 1.5, 2.0};
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    // The preview's factor 1 is the page at its printed size.
    m_preview->setZoomFactor(factors[qBound(0, index, 4)]);
}

void TfrmReport::print()
{
    QPrintDialog dialog(m_printer.get(), this);
    if (Dialogs::showModal(&dialog) == QDialog::Accepted)
        m_renderer->render(m_printer.get());
}

bool TfrmReport::exportPdf()
{
    QString path = Dialogs::saveFile(this, QStringLiteral("导出PDF"), m_title + QStringLiteral(".pdf"),
                                     QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    if (!m_renderer->writePdf(path)) {
        Messages::warning(this, QStringLiteral("无法写入文件：%1").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}
