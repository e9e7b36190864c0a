#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QComboBox;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;
class ReportRenderer;

// The preview window of a prepared report: zoom, print, PDF export, help, close.
class TfrmReport : public QDialog
{
    Q_OBJECT

public:
    TfrmReport(std::unique_ptr<ReportRenderer> renderer, const QString &title, QWidget *parent = nullptr);
    ~TfrmReport() override;

    QComboBox *zoomBox() const { return m_zoom; }
    QPrintPreviewWidget *preview() const { return m_preview; }
    ReportRenderer *renderer() const { return m_renderer.get(); }
    // What "帮助" does: the program's one help routine.
    static void setHelpHandler(std::function<void()> handler);
    bool exportPdf();

private:
    void zoomChanged(int index);
    void print();

    std::unique_ptr<ReportRenderer> m_renderer;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_preview;
    QComboBox *m_zoom;
    QString m_title;
};
