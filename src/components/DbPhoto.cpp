#include "DbPhoto.h"

#include "Dialogs.h"
#include "JpegLoader.h"
#include "Messages.h"
#include "Utf8.h"

#include <QMouseEvent>
#include <QPainter>

DbPhoto::DbPhoto(QWidget *parent) : QLabel(parent), m_link(new FieldLink(this))
{
    setText(s("（照片）"));
    setToolTip(s("点击选择照片资料"));
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::StyledPanel);
    setCursor(Qt::PointingHandCursor);
    setMinimumSize(120, 150);
    // Edit-state and lookup changes only show the field again: the picture follows the path.
    connect(m_link, &FieldLink::refresh, this, &DbPhoto::fieldShown);
}

void DbPhoto::bind(DataSource *source, const QString &field)
{
    if (m_dataset)
        disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = source ? source->dataset() : nullptr;
    if (m_dataset) {
        connect(m_dataset, &Dataset::currentChanged, this, &DbPhoto::reload);
        connect(m_dataset, &Dataset::dataReset, this, &DbPhoto::reload);
    }
    m_loaded = false;
    m_link->bind(source, field);
    if (!m_loaded)
        reload();
}

void DbPhoto::fieldShown()
{
    if (!m_loaded || m_link->text() != m_path)
        reload();
}

void DbPhoto::reload()
{
    m_loaded = true;
    m_path = m_link->text();
    m_picture = QImage();
    m_failed = false;
    if (!m_path.isEmpty()) {
        ++m_loads;
        m_picture = Picture::load(m_path);
        m_failed = m_picture.isNull();
    }
    setText(m_picture.isNull() ? s("（照片）") : QString());
    update();
    Q_EMIT pictureChanged();
}

bool DbPhoto::choose()
{
    if (!m_link->isLinked() || m_link->fieldIsReadOnly())
        return false;
    const QString chosen = Dialogs::openFile(this, s("选择照片"), QString(),
                                             s("图片文件 (*.bmp *.jpg *.jpeg *.png *.gif *.ico);;所有文件 (*)"));
    if (chosen.isEmpty())
        return false;
    const int width = m_link->width();
    const qsizetype length = chosen.toUcs4().size();
    if (width > 0 && length > width) {
        Messages::warning(this, Dataset::tooLongMessage(m_link->fieldName(), width, length));
        return false;
    }
    if (!m_link->write(chosen))
        return false;
    if (m_link->text() != m_path)
        reload();
    return true;
}

void DbPhoto::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        choose();
    QLabel::mouseReleaseEvent(event);
}

void DbPhoto::paintEvent(QPaintEvent *event)
{
    if (m_picture.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(contentsRect(), m_picture);
}
