#pragma once

#include <QString>

class QWidget;

// Every message box goes through here, so tests can record texts and script answers.
class Messages
{
public:
    enum class Icon { None, Information, Warning, Question, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    struct Request
    {
        QString text;
        QString caption;
        Icon icon = Icon::Information;
        Buttons buttons = Buttons::Ok;
        Answer defaultAnswer = Answer::Ok;
    };

    class Handler
    {
    public:
        virtual ~Handler() = default;
        virtual Answer show(QWidget *parent, const Request &request) = 0;
    };

    static QString defaultCaption();  // "系统提示"

    // nullptr restores the real message boxes.
    static void setHandler(Handler *handler);
    static Answer show(QWidget *parent, const Request &request);

    static void warning(QWidget *parent, const QString &text, const QString &caption = defaultCaption());
    static void information(QWidget *parent, const QString &text, const QString &caption = defaultCaption());
    static void error(QWidget *parent, const QString &text, const QString &caption = defaultCaption());
    // Yes/No with the question icon; true on Yes.
    static bool question(QWidget *parent, const QString &text, Answer defaultAnswer = Answer::Yes,
                         const QString &caption = defaultCaption());
    // OK/Cancel with the question icon; true on OK.
    static bool confirm(QWidget *parent, const QString &text, Answer defaultAnswer = Answer::Ok,
                        const QString &caption = defaultCaption());
    // The delete question: OK/Cancel with the warning icon, OK the default; true on OK.
    static bool confirmDelete(QWidget *parent, const QString &text);
};
