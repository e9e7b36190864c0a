#pragma once

#include <QColor>
#include <QDialog>

class DbGrid;
class QAction;
class QFrame;

// The colour palette: the values of tblColor the code tables' colour lists offer.
// Adds through the colour dialog and deletes; it writes no log entry and tests no right.
class TfrmColor : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmColor(QWidget *parent = nullptr);

    // Opens tblColor where not open and shows the palette modally.
    static int execute(QWidget *parent);

    DbGrid *grid() const { return m_grid; }
    // The colour the sample panel shows; invalid when it shows none.
    QColor sampleColour() const { return m_sampleColour; }

    QAction *Act_Add = nullptr;
    QAction *Act_Del = nullptr;
    QAction *Act_Close = nullptr;

    // "新增": the colour dialog, then a new row with the chosen value.
    void add();
    // "删除": the current colour after the question; nothing on an empty palette.
    void remove();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showSample(const QColor &colour);
    void showCurrent();

    DbGrid *m_grid = nullptr;
    QFrame *m_sample = nullptr;
    QColor m_sampleColour;
};
