#include "uImage.h"

#include "Dialogs.h"
#include "ErrorHandler.h"
#include "JpegLoader.h"
#include "Utf8.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TfrmImage::TfrmImage(QWidget *parent) : QDialog(parent)
{
    setObjectName(s("frmImage"));
    setWindowTitle(s("照片放大"));
    setSizeGripEnabled(true);
    setMinimumSize(160, 120);
    load();
    QSize size = m_picture.isNull() ? QSize(400, 300) : m_picture.size();
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableSize() * 0.9;
        if (size.width() > room.width() || size.height() > room.height())
            size.scale(room, Qt::KeepAspectRatio);
    }
    resize(size.expandedTo(minimumSize()));
}

Dataset *TfrmImage::datasetFor(const QString &caller)
{
    if (!dmMain)
        return nullptr;
    if (caller == u"Yuangong")
        return dmMain->tblYuangong;
    if (caller == u"Yuangong1")
        return dmMain->tblYuangong1;
    if (caller == u"Operaters")
        return dmMain->tblOperaters;
    return nullptr;
}

int TfrmImage::execute(QWidget *parent)
{
    TfrmImage viewer(parent);
    return Dialogs::showModal(&viewer);
}

void TfrmImage::load()
{
    m_picture = QImage();
    Dataset *d = datasetFor(PhotoViewCaller);
    if (!d || !d->isActive() || d->isEmpty())
        return;
    QString path;
    // A failure to read the row leaves the window empty, as a bad file does.
    ErrorHandler::run(this, [&] {
        if (d->fieldIndex(s("Photo")) >= 0)
            path = d->field(s("Photo")).asString();
    });
    if (!path.isEmpty())
        m_picture = Picture::load(path);
}

void TfrmImage::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (m_picture.isNull())
        return;
    QSize size = m_picture.size();
    size.scale(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, m_picture);
}
