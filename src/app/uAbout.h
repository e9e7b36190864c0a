#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: picture, version, maker and the maker's web address as a link.
class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget *parent = nullptr);
    QLabel *webLabel() const { return m_web; }
    QPushButton *okButton() const { return m_ok; }

private:
    QLabel *m_web;
    QPushButton *m_ok;
};
