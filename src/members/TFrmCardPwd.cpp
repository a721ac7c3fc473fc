#include "members/TFrmCardPwd.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmCardPwd::TFrmCardPwd(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("FrmCardPwd"));
    setWindowTitle(QStringLiteral("请输入卡密码"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *label = new QLabel(QStringLiteral("请输入卡密码："), this);
    edtCardPwd = new QLineEdit(this);
    edtCardPwd->setObjectName(QStringLiteral("edtCardPwd"));
    edtCardPwd->setMaxLength(10);
    edtCardPwd->setEchoMode(QLineEdit::Password);
    label->setBuddy(edtCardPwd);

    btnOk = new QPushButton(QStringLiteral("确定"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnClose = new QPushButton(QStringLiteral("关闭"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(edtCardPwd);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmCardPwd::showEvent(QShowEvent *event)
{
    edtCardPwd->clear();
    edtCardPwd->setFocus();
    QDialog::showEvent(event);
}

std::optional<QString> TFrmCardPwd::AskPassword()
{
    edtCardPwd->clear();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return edtCardPwd->text().trimmed();
}
