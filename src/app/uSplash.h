#pragma once

#include <QWidget>

// The splash window: borderless, centred, 413 × 251, one picture.
class TfrmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmSplash(QWidget *parent = nullptr);
    // Shows it, paints at once, and keeps processing events until one second has passed.
    void showForAtLeastOneSecond();

protected:
    void paintEvent(QPaintEvent *event) override;
};
