#pragma once

#include <QString>
#include <QStringList>

// Opening addresses and files with the desktop's programs, and starting programs.
class Shell
{
public:
    class Handler
    {
    public:
        virtual ~Handler() = default;
        virtual bool open(const QString &target) = 0;
        virtual bool start(const QString &program, const QStringList &arguments) = 0;
    };
    static void setHandler(Handler *handler);  // nullptr: the real desktop

    // A web address, a "mailto:" address or a file path.
    static bool open(const QString &target);
    // "mailto:" with the address, subject and body percent-encoded, so "&", "#", "%",
    // "?" and line breaks arrive as typed.
    static QString mailto(const QString &address, const QString &subject = {}, const QString &body = {});
    // The web address a stored text stands for: http and https as they are, "http://"
    // added when there is no scheme; empty for a path or any other scheme, so a stored
    // value never opens a local file or starts a program.
    static QString webAddress(const QString &text);
    // Starts the first of the candidates found on the PATH; false when none is there.
    static bool startFirst(const QStringList &candidates, const QStringList &arguments = {});
    static bool start(const QString &program, const QStringList &arguments = {});
};
