#pragma once

#include <QApplication>
#include <functional>

class QWidget;

// The default error handling: an error raised by the data layers is shown in a
// message box and the dataset stays in its state; nothing else happens.
namespace ErrorHandler {

// Runs `action`; a DatasetError or DbError is shown (warning icon, "系统提示") and
// false returned.
bool run(QWidget *parent, const std::function<void()> &action);

// The message for whatever was thrown; empty for an unknown exception type.
QString messageOf(std::exception_ptr error);

}  // namespace ErrorHandler

// The application object: catches what escapes an event handler and shows it
// through the default error handling, instead of ending the program.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
