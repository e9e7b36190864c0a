#pragma once

#include "Dialogs.h"
#include "Messages.h"

#include <QColor>
#include <QString>

// Answers every message box and dialog without showing one, so windows can be driven
// in a benchmark loop.
class Quiet : public Messages::Handler, public Dialogs::Handler
{
public:
    Messages::Answer show(QWidget *, const Messages::Request &r) override { return r.defaultAnswer; }
    QString openFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString folder(QWidget *, const QString &, const QString &) override { return {}; }
    QColor colour(QWidget *, const QColor &) override { return {}; }
    int showModal(QDialog *) override { return 0; }
};
