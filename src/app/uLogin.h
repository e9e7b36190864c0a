#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

// The login dialog: pick or type a user ID, type the password. Three wrong tries are
// tolerated; the fourth ends the program, as does Cancel.
class TfrmLogin : public QDialog
{
    Q_OBJECT

public:
    enum class Outcome { Pending, LoggedIn, Cancelled, TooManyFailures };

    explicit TfrmLogin(QWidget *parent = nullptr);

    // Runs on success before the dialog closes (the start-up shows the today view here).
    void setOnSuccess(std::function<void()> hook) { m_onSuccess = std::move(hook); }
    Outcome outcome() const { return m_outcome; }
    int failures() const { return m_failures; }

    QComboBox *userBox() const { return m_user; }
    QLineEdit *passwordBox() const { return m_password; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // Fills the user list again; done on show.
    void prepare();
    void tryLogin();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    QComboBox *m_user;
    QLineEdit *m_password;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    int m_failures = 0;
    Outcome m_outcome = Outcome::Pending;
    std::function<void()> m_onSuccess;
};
