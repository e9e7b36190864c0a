#include "ErrorHandler.h"

#include "DatasetError.h"
#include "DbError.h"
#include "Messages.h"

namespace ErrorHandler {

QString messageOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const DatasetError &e) {
        return e.message();
    } catch (const DbError &e) {
        return e.message();
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return {};
    }
}

bool run(QWidget *parent, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (...) {
        const QString text = messageOf(std::current_exception());
        Messages::warning(parent, text.isEmpty() ? QStringLiteral("发生未知错误。") : text);
        return false;
    }
}

}  // namespace ErrorHandler

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString text = ErrorHandler::messageOf(std::current_exception());
        Messages::warning(activeWindow(), text.isEmpty() ? QStringLiteral("发生未知错误。") : text);
        return false;
    }
}
