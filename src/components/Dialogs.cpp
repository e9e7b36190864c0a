#include "Dialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>

namespace {
Dialogs::Handler *g_handler = nullptr;
}

void Dialogs::setHandler(Handler *handler)
{
    g_handler = handler;
}

QString Dialogs::openFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    return g_handler ? g_handler->openFile(parent, caption, dir, filter)
                     : QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Dialogs::saveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    return g_handler ? g_handler->saveFile(parent, caption, dir, filter)
                     : QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString Dialogs::folder(QWidget *parent, const QString &caption, const QString &dir)
{
    return g_handler ? g_handler->folder(parent, caption, dir) : QFileDialog::getExistingDirectory(parent, caption, dir);
}

QColor Dialogs::colour(QWidget *parent, const QColor &initial)
{
    return g_handler ? g_handler->colour(parent, initial) : QColorDialog::getColor(initial, parent);
}

int Dialogs::showModal(QDialog *dialog)
{
    return g_handler ? g_handler->showModal(dialog) : dialog->exec();
}
