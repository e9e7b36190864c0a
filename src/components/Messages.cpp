#include "Messages.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

Messages::Handler *g_handler = nullptr;

QMessageBox::Icon boxIcon(Messages::Icon icon)
{
    switch (icon) {
    case Messages::Icon::Information: return QMessageBox::Information;
    case Messages::Icon::Warning: return QMessageBox::Warning;
    case Messages::Icon::Question: return QMessageBox::Question;
    case Messages::Icon::Critical: return QMessageBox::Critical;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButton boxButton(Messages::Answer a)
{
    switch (a) {
    case Messages::Answer::Cancel: return QMessageBox::Cancel;
    case Messages::Answer::Yes: return QMessageBox::Yes;
    case Messages::Answer::No: return QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

Messages::Answer showBox(QWidget *parent, const Messages::Request &r)
{
    QMessageBox box(boxIcon(r.icon), r.caption, r.text, QMessageBox::NoButton, parent);
    switch (r.buttons) {
    case Messages::Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Messages::Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Messages::Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Messages::Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    box.setDefaultButton(boxButton(r.defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Cancel: return Messages::Answer::Cancel;
    case QMessageBox::Yes: return Messages::Answer::Yes;
    case QMessageBox::No: return Messages::Answer::No;
    case QMessageBox::Ok: return Messages::Answer::Ok;
    default:  // closed with Escape or the title bar
        return r.buttons == Messages::Buttons::YesNo ? Messages::Answer::No
             : r.buttons == Messages::Buttons::Ok    ? Messages::Answer::Ok
                                                     : Messages::Answer::Cancel;
    }
}

}  // namespace

QString Messages::defaultCaption()
{
    return QStringLiteral("系统提示");
}

void Messages::setHandler(Handler *handler)
{
    g_handler = handler;
}

Messages::Answer Messages::show(QWidget *parent, const Request &request)
{
    return g_handler ? g_handler->show(parent, request) : showBox(parent, request);
}

void Messages::warning(QWidget *parent, const QString &text, const QString &caption)
{
    show(parent, {text, caption, Icon::Warning, Buttons::Ok, Answer::Ok});
}

void Messages::information(QWidget *parent, const QString &text, const QString &caption)
{
    show(parent, {text, caption, Icon::Information, Buttons::Ok, Answer::Ok});
}

void Messages::error(QWidget *parent, const QString &text, const QString &caption)
{
    show(parent, {text, caption, Icon::Critical, Buttons::Ok, Answer::Ok});
}

bool Messages::question(QWidget *parent, const QString &text, Answer defaultAnswer, const QString &caption)
{
    return show(parent, {text, caption, Icon::Question, Buttons::YesNo, defaultAnswer}) == Answer::Yes;
}

bool Messages::confirm(QWidget *parent, const QString &text, Answer defaultAnswer, const QString &caption)
{
    return show(parent, {text, caption, Icon::Question, Buttons::OkCancel, defaultAnswer}) == Answer::Ok;
}

bool Messages::confirmDelete(QWidget *parent, const QString &text)
{
    return show(parent, {text, defaultCaption(), Icon::Warning, Buttons::OkCancel, Answer::Ok}) == Answer::Ok;
}
