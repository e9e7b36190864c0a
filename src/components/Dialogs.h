#pragma once

#include <QColor>
#include <QString>

class QDialog;
class QWidget;

// File, folder and colour dialogs, and every modal window, go through here so tests
// never block in a real modal loop.
class Dialogs
{
public:
    class Handler
    {
    public:
        virtual ~Handler() = default;
        virtual QString openFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) = 0;
        virtual QString saveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) = 0;
        virtual QString folder(QWidget *parent, const QString &caption, const QString &dir) = 0;
        // An invalid colour means the user cancelled.
        virtual QColor colour(QWidget *parent, const QColor &initial) = 0;
        virtual int showModal(QDialog *dialog) = 0;
    };
    static void setHandler(Handler *handler);  // nullptr: the real dialogs

    // Empty when cancelled.
    static QString openFile(QWidget *parent, const QString &caption, const QString &dir = {}, const QString &filter = {});
    static QString saveFile(QWidget *parent, const QString &caption, const QString &dir = {}, const QString &filter = {});
    static QString folder(QWidget *parent, const QString &caption, const QString &dir = {});
    static QColor colour(QWidget *parent, const QColor &initial = Qt::white);
    // QDialog::Accepted or Rejected.
    static int showModal(QDialog *dialog);
};
