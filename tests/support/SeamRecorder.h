#pragma once

#include "Dialogs.h"
#include "Messages.h"
#include "Shell.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

// Stands in for every seam while a test runs: records message boxes, opened
// addresses, started programs and modal windows, and answers as scripted.
// Unanswered questions get their default button. Installed on construction.
class SeamRecorder : public Messages::Handler, public Shell::Handler, public Dialogs::Handler
{
public:
    SeamRecorder();
    ~SeamRecorder() override;

    QList<Messages::Request> messages;
    QQueue<Messages::Answer> answers;
    QStringList opened;
    QList<QStringList> started;  // program followed by its arguments
    QQueue<QString> files;       // answers to open/save/folder dialogs ("" = cancel)
    QQueue<QColor> colours;
    QStringList modalWindows;    // objectName of each dialog shown modally
    std::function<int(QDialog *)> onModal;  // default: rejected

    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
    QStringList texts() const;

    Messages::Answer show(QWidget *parent, const Messages::Request &request) override;
    bool open(const QString &target) override;
    bool start(const QString &program, const QStringList &arguments) override;
    QString openFile(QWidget *, const QString &, const QString &, const QString &) override;
    QString saveFile(QWidget *, const QString &, const QString &, const QString &) override;
    QString folder(QWidget *, const QString &, const QString &) override;
    QColor colour(QWidget *, const QColor &) override;
    int showModal(QDialog *dialog) override;
};

class QWidget;
// Types text as a user would, one key event per character (Chinese included; QTest's
// keyClicks only takes Latin-1).
void typeText(QWidget *widget, const QString &text);
