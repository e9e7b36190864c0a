#pragma once

#include "FieldLink.h"

#include <QImage>
#include <QLabel>

// A photo box bound to a field holding a picture file's full path. It shows the picture
// stretched over the box, "（照片）" when there is none; a click opens a picture dialog and
// writes the chosen path (putting the row into edit). The picture is read again on every
// row change and when the field changes, and only then.
class DbPhoto : public QLabel
{
    Q_OBJECT

public:
    explicit DbPhoto(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field);
    FieldLink *link() const { return m_link; }

    // The path shown (the field's text when last read) and its picture; null when none.
    QString path() const { return m_path; }
    QImage picture() const { return m_picture; }
    // True when the field names a file but it gave no picture.
    bool loadFailed() const { return m_failed; }
    // How often a picture file was read (a row move with the same path reads it again).
    int loadCount() const { return m_loads; }

    // The picture dialog, then the chosen path written to the field; false when cancelled
    // or refused (a path wider than the field is told and changes nothing).
    bool choose();

Q_SIGNALS:
    void pictureChanged();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void reload();
    void fieldShown();

    FieldLink *m_link;
    QPointer<Dataset> m_dataset;
    QString m_path;
    QImage m_picture;
    bool m_failed = false;
    bool m_loaded = false;
    int m_loads = 0;
};
