#include "SeamRecorder.h"

#include <QDialog>

SeamRecorder::SeamRecorder()
{
    Messages::setHandler(this);
    Shell::setHandler(this);
    Dialogs::setHandler(this);
}

SeamRecorder::~SeamRecorder()
{
    Messages::setHandler(nullptr);
    Shell::setHandler(nullptr);
    Dialogs::setHandler(nullptr);
}

QStringList SeamRecorder::texts() const
{
    QStringList out;
    for (const Messages::Request &r : messages)
        out << r.text;
    return out;
}

Messages::Answer SeamRecorder::show(QWidget *, const Messages::Request &request)
{
    messages.append(request);
    return answers.isEmpty() ? request.defaultAnswer : answers.dequeue();
}

bool SeamRecorder::open(const QString &target)
{
    opened << target;
    return true;
}

bool SeamRecorder::start(const QString &program, const QStringList &arguments)
{
    started << (QStringList{program} + arguments);
    return true;
}

QString SeamRecorder::openFile(QWidget *, const QString &, const QString &, const QString &)
{
    return files.isEmpty() ? QString() : files.dequeue();
}

QString SeamRecorder::saveFile(QWidget *, const QString &, const QString &, const QString &)
{
    return files.isEmpty() ? QString() : files.dequeue();
}

QString SeamRecorder::folder(QWidget *, const QString &, const QString &)
{
    return files.isEmpty() ? QString() : files.dequeue();
}

QColor SeamRecorder::colour(QWidget *, const QColor &)
{
    return colours.isEmpty() ? QColor() : colours.dequeue();
}

int SeamRecorder::showModal(QDialog *dialog)
{
    modalWindows << dialog->objectName();
    return onModal ? onModal(dialog) : int(QDialog::Rejected);
}

#include <QTest>

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
