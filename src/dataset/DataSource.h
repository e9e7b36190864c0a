#pragma once

#include "Dataset.h"

#include <QObject>
#include <QPointer>

// The thin object data-aware widgets and grids bind to (dsCustomers for tblCustomers).
class DataSource : public QObject
{
    Q_OBJECT

public:
    DataSource(const QString &name, Dataset *dataset, QObject *parent = nullptr) : QObject(parent), m_dataset(dataset)
    {
        setObjectName(name);
    }
    Dataset *dataset() const { return m_dataset; }

private:
    QPointer<Dataset> m_dataset;
};
