#pragma once

#include "context/AppContext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The operator login. Each time it is shown it opens the database and loads
// the shop settings; a successful login emits loggedIn().
class TLoginForm : public QDialog
{
    Q_OBJECT
public:
    explicit TLoginForm(AppContext &ctx, QWidget *parent = nullptr);

    QLabel *Label1; // title
    QLabel *Label2; // version line
    QLabel *Label6; // hint naming the default operator
    QLineEdit *edtUserName;
    QLineEdit *edtUserPWD;
    QPushButton *BitBtn1; // 登录
    QPushButton *BitBtn2; // 退出

    // Opens the database file and loads the settings. False after the 0503
    // message, when the program must end.
    bool StartUp();

signals:
    void loggedIn();
    // The program must end (退出, the title-bar close or error 0503).
    void quitRequested(int exitCode);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void BitBtn1Click();
    void BitBtn2Click();

    AppContext &m_ctx;
    bool m_loggingIn = false;
};
