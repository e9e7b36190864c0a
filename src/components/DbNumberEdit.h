#pragma once

#include "FieldLink.h"

#include <QWidget>

class QLineEdit;
class QToolButton;
class Calculator;

// A number edit bound to a Long or Double field, with a calculator pop-up.
// Empty means null; the typed number is written when editing ends or before a post.
class DbNumberEdit : public QWidget
{
    Q_OBJECT

public:
    explicit DbNumberEdit(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field) { m_link->bind(source, field); }
    FieldLink *link() const { return m_link; }
    QLineEdit *lineEdit() const { return m_edit; }
    QString text() const;
    void setReadOnly(bool readOnly);
    void setDecimals(int decimals);  // display decimals; -1 shows the shortest form
    void showCalculator();
    // A plain number edit: no calculator button (item numbers, counts).
    void setCalculatorVisible(bool visible);
    Calculator *calculator() const { return m_calculator; }

private:
    void load();
    void store();

    FieldLink *m_link;
    QLineEdit *m_edit;
    QToolButton *m_button;
    Calculator *m_calculator = nullptr;
    int m_decimals = -1;
    bool m_dirty = false;
};
