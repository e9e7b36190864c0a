#pragma once

#include "DataSource.h"
#include "Field.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Ties one widget to one field of a data source: tells the widget when to show the
// field again, and writes what the user typed (putting the dataset into edit first).
class FieldLink : public QObject
{
    Q_OBJECT

public:
    explicit FieldLink(QWidget *widget);

    void bind(DataSource *source, const QString &field);
    DataSource *source() const { return m_source; }
    Dataset *dataset() const;
    QString fieldName() const { return m_field; }

    // True when the dataset is open and has the field.
    bool isLinked() const;
    // The field's value and display text; null / empty when not linked.
    QVariant value() const;
    QString text() const;
    int width() const;
    bool fieldIsReadOnly() const;

    // Puts the dataset into edit (a new row on an empty one) and stores the value.
    // An error is shown through the default error handling; false then.
    bool write(const QVariant &value);
    bool isLoading() const { return m_loading; }

Q_SIGNALS:
    void refresh();  // show the field's value again
    void flush();    // write any value still held by the widget (before a post)

private:
    void connectDataset();
    int fieldIndex() const;

    QWidget *m_widget;
    QPointer<DataSource> m_source;
    QPointer<Dataset> m_connected;
    QString m_field;
    bool m_loading = false;
    bool m_writing = false;
};
