#pragma once

#include "FieldLink.h"

#include <QDateEdit>

// A date edit bound to a Date or DateTime field, with a calendar drop-down. It can be
// empty: Delete or Backspace on the whole text, or "清除日期" in its menu, clears the
// field. Shown in the system's short date format.
class DbDateEdit : public QDateEdit
{
    Q_OBJECT

public:
    explicit DbDateEdit(QWidget *parent = nullptr);
    void bind(DataSource *source, const QString &field) { m_link->bind(source, field); }
    FieldLink *link() const { return m_link; }
    bool isEmpty() const { return date() == minimumDate(); }
    // Empty text when cleared: what the required-field checks read.
    QString displayedText() const { return isEmpty() ? QString() : text(); }
    void clearDate();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void load();
    FieldLink *m_link;
    bool m_loading = false;
};
