#include "app/TLoginForm.h"

#include "app/Login.h"
#include "context/AppInfo.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TLoginForm::TLoginForm(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TLoginForm"));
    setWindowTitle(AppInfo::AppTitle);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont big = Label1->font();
    big.setPointSize(18);
    big.setBold(true);
    Label1->setFont(big);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);

    auto *Label3 = new QLabel(QStringLiteral("操作员："), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    edtUserName = new QLineEdit(this);
    edtUserName->setObjectName(QStringLiteral("edtUserName"));
    edtUserName->setMaxLength(20);
    auto *Label4 = new QLabel(QStringLiteral("密     码："), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    edtUserPWD = new QLineEdit(this);
    edtUserPWD->setObjectName(QStringLiteral("edtUserPWD"));
    edtUserPWD->setMaxLength(20);
    edtUserPWD->setEchoMode(QLineEdit::Password);
    Label6 = new QLabel(QStringLiteral("默认操作员和密码都是") + AppInfo::DefaultOperator, this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setStyleSheet(QStringLiteral("color: #666"));

    BitBtn1 = new QPushButton(QStringLiteral("  登  录"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("  退  出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(Label3, 0, 0, Qt::AlignRight);
    fields->addWidget(edtUserName, 0, 1);
    fields->addWidget(Label4, 1, 0, Qt::AlignRight);
    fields->addWidget(edtUserPWD, 1, 1);
    fields->setColumnMinimumWidth(1, 200);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 20, 30, 20);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(16);
    layout->addLayout(fields);
    layout->addWidget(Label6, 0, Qt::AlignCenter);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &TLoginForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TLoginForm::BitBtn2Click);
}

bool TLoginForm::StartUp()
{
    m_ctx.session.login.MyDianMianID = QStringLiteral("0");
    setWindowTitle(AppInfo::AppTitle);
    Label1->setText(AppInfo::AppTitle);
    Label2->setText(AppInfo::VersionText);
    const QString path = QDir::current().filePath(AppInfo::DbFileName);
    try {
        if (!m_ctx.db.isOpen())
            m_ctx.db.open(path);
        m_ctx.session.settings.load(m_ctx.db);
    } catch (const DbError &e) {
        QString message = SettingsErrorMessage();
        // A file that is there but cannot be opened (busy while another till
        // brings it up to date, made by a newer program): say why.
        if (!m_ctx.db.isOpen() && QFileInfo::exists(path))
            message += QLatin1Char('\n') + e.text();
        m_ctx.prompter.information(message);
        emit quitRequested(1);
        return false;
    }
    return true;
}

void TLoginForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        StartUp();
    edtUserName->setFocus();
}

void TLoginForm::BitBtn1Click()
{
    if (m_loggingIn)
        return;
    m_loggingIn = true;
    Check refusal;
    const bool ran = Guarded(m_ctx.prompter, [&] {
        refusal = LogIn(m_ctx.db, edtUserName->text(), edtUserPWD->text(), m_ctx.session.login);
    });
    m_loggingIn = false;
    if (!ran)
        return;
    if (refusal) {
        m_ctx.prompter.information(refusal->message);
        if (refusal->message == WrongLoginMessage) {
            edtUserName->clear();
            edtUserPWD->clear();
        }
        if (auto *w = findChild<QWidget *>(refusal->focus))
            w->setFocus();
        return;
    }
    edtUserName->clear();
    edtUserPWD->clear();
    edtUserName->setFocus();
    hide();
    emit loggedIn();
}

void TLoginForm::BitBtn2Click()
{
    hide();
    emit quitRequested(0);
}

void TLoginForm::reject()
{
    // Esc and the title-bar close end the program like 退出.
    BitBtn2Click();
}

void TLoginForm::closeEvent(QCloseEvent *event)
{
    event->ignore();
    BitBtn2Click();
}
