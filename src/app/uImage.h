#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class Dataset;

// "照片放大": the photo of the current row of the dataset PhotoViewCaller names, enlarged.
// It opens at the picture's size (at most the screen's) and scales the picture with the
// window, keeping its aspect ratio. No buttons: the close box closes it.
class TfrmImage : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmImage(QWidget *parent = nullptr);

    // The dataset a PhotoViewCaller value names ("Yuangong", "Yuangong1", "Operaters");
    // nullptr for any other value.
    static Dataset *datasetFor(const QString &caller);
    // Creates the viewer for PhotoViewCaller and shows it modally.
    static int execute(QWidget *parent);

    QImage picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void load();
    QImage m_picture;
};
