#include "sales/TPayType_Frm.h"

#include "widgets/FormWidget.h"
#include "widgets/PaymentEntryWidget.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TPayType_Frm::TPayType_Frm(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TPayType_Frm"));
    setWindowTitle(QStringLiteral("收款方式"));
    setModal(true);
    setStyleSheet(QStringLiteral("#TPayType_Frm { background-color: #808080; border: 2px solid "
                                 "#3c3c3c; }"));

    Entry = new PaymentEntry(ctx.prompter, this);
    edt_PayMoney = Entry->edt_PayMoney;
    edt_Cash = Entry->edt_Cash;
    edt_Card = Entry->edt_Card;
    edt_RealMoney = Entry->edt_RealMoney;
    edt_PayZero = Entry->edt_PayZero;

    BtnOk = new QPushButton(QStringLiteral("   确  定"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setAutoDefault(false);
    BtnOk->setMinimumHeight(34);
    btnCancel = new QPushButton(QStringLiteral("   取  消"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    btnCancel->setMinimumHeight(34);
    // Clicking 取消 must not first run the stored-value check of the field
    // the operator leaves: nothing is paid anyway.
    btnCancel->setFocusPolicy(Qt::TabFocus);
    Entry->setConfirmButton(BtnOk);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 20);
    layout->addWidget(Entry);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(edt_PayMoney, BtnOk);
    setTabOrder(BtnOk, btnCancel);

    connect(BtnOk, &QPushButton::clicked, this, &TPayType_Frm::BtnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<qint64> TPayType_Frm::Pay(const PaymentDue &due, PaymentOperation &operation)
{
    m_operation = &operation;
    m_paidId = 0;
    Entry->Start(due.due, due.dueText, due.balance, due.balanceText);
    const bool paid = exec() == QDialog::Accepted && m_paidId != 0;
    m_operation = nullptr;
    if (!paid)
        return std::nullopt;
    return m_paidId;
}

void TPayType_Frm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A window without a frame is not always activated by the window manager.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            activateWindow();
    });
}

void TPayType_Frm::BtnOkClick()
{
    if (!m_operation)
        return;
    const std::optional<PaymentSplit> split = Entry->Confirmed();
    if (!split)
        return;
    const PaymentAmounts amounts{split->cash, split->card, Entry->cashText(), Entry->cardText(),
                                 Entry->changeText()};
    PaymentOutcome outcome;
    // A failing write is shown and undone as a whole; the dialog stays open.
    if (!Guarded(m_ctx.prompter, [&] { outcome = m_operation->Run(amounts); }))
        return;
    if (outcome.refusal) {
        ShowRefusal(m_ctx.prompter, this, *outcome.refusal);
        if (outcome.closeDialog)
            reject();
        return;
    }
    m_paidId = outcome.id;
    // Everything is stored: what follows (receipts) undoes nothing.
    m_operation->AfterCommit(amounts, m_paidId);
    m_ctx.prompter.information(m_operation->SuccessMessage());
    accept();
}

void TPayType_Frm::keyPressEvent(QKeyEvent *event)
{
    // Enter belongs to the fields' own checks and to the focused button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto *button = qobject_cast<QPushButton *>(focusWidget());
            button && button->isEnabled())
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
