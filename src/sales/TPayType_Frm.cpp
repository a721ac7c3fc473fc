#include "sales/TPayType_Frm.h"

#include "widgets/FormWidget.h"
#include "data/Money.h"
#include "data/TextRules.h"
#include "sales/ReceiptLayout.h"
#include "sales/ReceiptPrinter.h"
#include "sales/SaleLine.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace
{

std::optional<Money> AmountOf(const QLineEdit *field)
{
    return Money::parse(field->text());
}

QString AmountText(Money m)
{
    return NumberText(m.toDouble());
}

bool IsEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

TPayType_Frm::TPayType_Frm(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TPayType_Frm"));
    setWindowTitle(QStringLiteral("收款方式"));
    setModal(true);
    setStyleSheet(QStringLiteral("#TPayType_Frm { background-color: #808080; border: 2px solid "
                                 "#3c3c3c; }"));

    QFont captionFont = font();
    captionFont.setPointSize(16);
    captionFont.setBold(true);
    QFont fieldFont = font();
    fieldFont.setPointSize(18);
    fieldFont.setBold(true);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(10);
    const auto addRow = [&](int row, const QString &caption, const QString &name) {
        auto *label = new QLabel(caption, this);
        label->setFont(captionFont);
        label->setStyleSheet(QStringLiteral("color: white"));
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setFont(fieldFont);
        edit->setMinimumWidth(220);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, Qt::AlignRight);
        grid->addWidget(edit, row, 1);
        edit->installEventFilter(this);
        return edit;
    };
    edt_PayMoney = addRow(0, QStringLiteral("应收金额"), QStringLiteral("edt_PayMoney"));
    edt_Cash = addRow(1, QStringLiteral("现金"), QStringLiteral("edt_Cash"));
    edt_Card = addRow(2, QStringLiteral("储值卡"), QStringLiteral("edt_Card"));
    edt_RealMoney = addRow(3, QStringLiteral("实收金额"), QStringLiteral("edt_RealMoney"));
    edt_PayZero = addRow(4, QStringLiteral("找零"), QStringLiteral("edt_PayZero"));
    edt_Cash->setMaxLength(9);
    edt_Card->setMaxLength(9);

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

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 20);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(edt_Cash, edt_Card);
    setTabOrder(edt_Card, edt_RealMoney);
    setTabOrder(edt_RealMoney, edt_PayZero);
    setTabOrder(edt_PayZero, edt_PayMoney);
    setTabOrder(edt_PayMoney, BtnOk);
    setTabOrder(BtnOk, btnCancel);

    connect(edt_Cash, &QLineEdit::textChanged, this, &TPayType_Frm::edt_CashChange);
    connect(edt_Card, &QLineEdit::textChanged, this, &TPayType_Frm::edt_CardChange);
    connect(BtnOk, &QPushButton::clicked, this, &TPayType_Frm::BtnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<qint64> TPayType_Frm::Pay(const BillFigures &bill)
{
    m_bill = bill;
    m_saleId = 0;
    FormShow();
    if (exec() != QDialog::Accepted || m_saleId == 0)
        return std::nullopt;
    return m_saleId;
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

void TPayType_Frm::FormShow()
{
    const QSignalBlocker b1(edt_Cash), b2(edt_Card);
    edt_PayMoney->setText(m_bill.total);
    edt_PayMoney->setReadOnly(true);
    for (QLineEdit *field : {edt_Cash, edt_Card, edt_RealMoney, edt_PayZero}) {
        field->setText(QStringLiteral("0"));
        field->selectAll();
    }
    edt_RealMoney->setReadOnly(true);
    edt_PayMoney->setStyleSheet(QStringLiteral("color: red"));
    edt_Cash->setStyleSheet(QStringLiteral("color: green"));
    edt_Card->setStyleSheet(QStringLiteral("color: blue"));
    edt_RealMoney->setStyleSheet(QStringLiteral("color: purple"));
    edt_PayZero->setStyleSheet(QStringLiteral("color: fuchsia"));
    CheckCardMoney();
    BtnOk->setEnabled(false);
    edt_Cash->setFocus();
}

double TPayType_Frm::Balance() const
{
    return ParseNumber(m_bill.balance).value_or(0.0);
}

void TPayType_Frm::CheckCardMoney()
{
    const bool enabled = Balance() > 0;
    edt_Card->setEnabled(enabled);
    edt_Card->setStyleSheet(enabled ? QStringLiteral("color: blue; background-color: white")
                                    : QStringLiteral("color: gray; background-color: #d4d0c8"));
}

bool TPayType_Frm::Recompute()
{
    const std::optional<Money> cash = AmountOf(edt_Cash);
    const std::optional<Money> card = AmountOf(edt_Card);
    if (!cash || !card)
        return false;
    const Money received = *cash + *card;
    edt_RealMoney->setText(AmountText(received));
    if (const std::optional<Money> due = AmountOf(edt_PayMoney))
        edt_PayZero->setText(AmountText(received - *due));
    return true;
}

bool TPayType_Frm::Covered() const
{
    const std::optional<Money> due = AmountOf(edt_PayMoney);
    const std::optional<Money> received = AmountOf(edt_RealMoney);
    return due && received && *due <= *received;
}

void TPayType_Frm::FocusAndSelect(QLineEdit *field)
{
    field->selectAll();
    field->setFocus();
}

void TPayType_Frm::edt_CashChange()
{
    if (edt_Cash->text().trimmed().isEmpty()) {
        edt_Cash->setText(QStringLiteral("0"));
        edt_RealMoney->setText(QStringLiteral("0"));
        edt_PayZero->setText(QStringLiteral("0"));
        edt_Cash->selectAll();
        return;
    }
    if (!Recompute()) {
        BtnOk->setEnabled(false);
        return;
    }
    BtnOk->setEnabled(Covered());
}

void TPayType_Frm::edt_CardChange()
{
    if (edt_Card->text().trimmed().isEmpty()) {
        edt_Card->setText(QStringLiteral("0"));
        edt_RealMoney->setText(QStringLiteral("0"));
        edt_PayZero->setText(QStringLiteral("0"));
        edt_Cash->selectAll();
    } else if (!Recompute() || !Covered()) {
        BtnOk->setEnabled(false);
    }
    if (Covered()) {
        BtnOk->setEnabled(true);
        BtnOk->setFocus();
    }
}

void TPayType_Frm::edt_CardExit()
{
    Recompute();
    const std::optional<Money> card = AmountOf(edt_Card);
    const Money balance = Money::parse(m_bill.balance).value_or(Money());
    const std::optional<Money> due = AmountOf(edt_PayMoney);
    if (!card || !due)
        return;
    if (*card > balance || *card > *due) {
        m_ctx.prompter.information(
            Checkout::CardLimitMessage(edt_Card->text(), m_bill.balance, edt_PayMoney->text()));
        FocusAndSelect(edt_Card);
    }
}

void TPayType_Frm::edt_RealMoneyExit()
{
    if (edt_RealMoney->text().isEmpty())
        return;
    const std::optional<Money> received = AmountOf(edt_RealMoney);
    const std::optional<Money> due = AmountOf(edt_PayMoney);
    if (received && due)
        edt_PayZero->setText(AmountText(*received - *due));
}

void TPayType_Frm::EnterCheck(QLineEdit *field)
{
    if (Covered()) {
        BtnOk->setEnabled(true);
        BtnOk->setFocus();
        return;
    }
    if (field == edt_Cash) {
        m_ctx.prompter.information(QStringLiteral("收款方式中实收金额必须要大于等于应收金额!"));
        if (Balance() > 0)
            FocusAndSelect(edt_Cash);
        return;
    }
    m_ctx.prompter.information(QStringLiteral("收款方式中实收金额必须大于等于应收金额!"));
    if (field == edt_RealMoney)
        BtnOk->setEnabled(false);
    FocusAndSelect(edt_Cash);
}

void TPayType_Frm::BtnOkClick()
{
    PaymentInput payment;
    payment.cash = edt_Cash->text();
    payment.card = edt_Card->text();
    payment.adminId = m_ctx.session.login.MyAdminID.toInt();
    payment.now = m_ctx.clock.now();
    CheckoutResult result;
    // A failing write is shown and undone as a whole: no sale, no debit,
    // the open bill as it was; the dialog stays open.
    if (!Guarded(m_ctx.prompter, [&] { result = Checkout(m_ctx.db).Run(m_bill, payment); }))
        return;
    if (result.refusal) {
        ShowRefusal(m_ctx.prompter, this, *result.refusal);
        // Nothing here can mend a bill changed elsewhere: back to the sale
        // screen, which shows it afresh.
        if (result.billChanged)
            reject();
        return;
    }
    m_saleId = result.saleId;

    // The sale is stored: receipts print now, and a printer fault undoes nothing.
    int copies = 0;
    Guarded(m_ctx.prompter, [&] { copies = ReceiptCopies(m_ctx.db, m_ctx.session.settings); });
    if (copies > 0) {
        ReceiptFigures figures;
        figures.cardNo = m_bill.card.trimmed();
        figures.total = m_bill.total;
        figures.cash = edt_Cash->text().trimmed();
        figures.storedValue = edt_Card->text().trimmed();
        figures.change = edt_PayZero->text().trimmed();
        PrintSaleReceipt(m_ctx, m_saleId, copies, figures);
    }
    m_ctx.prompter.information(QStringLiteral("收款结帐成功，请刷卡，操作下一位客户！"));
    accept();
}

void TPayType_Frm::keyPressEvent(QKeyEvent *event)
{
    // Enter belongs to the fields' own checks and to the focused button.
    if (IsEnter(event)) {
        if (auto *button = qobject_cast<QPushButton *>(focusWidget());
            button && button->isEnabled())
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TPayType_Frm::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (IsEnter(key)) {
            if (field == edt_PayMoney)
                edt_Cash->setFocus();
            else if (field == edt_PayZero)
                BtnOk->click();
            else
                EnterCheck(field);
            return true;
        }
        if (field == edt_Cash || field == edt_Card) {
            const QString typed = key->text();
            if (typed.size() == 1 && typed.at(0).isPrint() &&
                !SaleLine::AcceptsPriceKey(field->text(), typed.at(0)))
                return true;
            if (field == edt_Card && Covered()) {
                BtnOk->setEnabled(true);
                BtnOk->setFocus();
            }
        }
    } else if (event->type() == QEvent::FocusIn && (field == edt_Cash || field == edt_Card)) {
        // The whole amount is selected on entry, so that typing replaces it
        // (also after a click, which places the cursor first).
        field->selectAll();
        QTimer::singleShot(0, field, [field] {
            if (field->hasFocus())
                field->selectAll();
        });
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            isVisible()) {
            // The check runs once the focus has settled: its message and its
            // return of the focus must not happen inside the focus change.
            if (field == edt_Card)
                QTimer::singleShot(0, this, [this] {
                    if (isVisible())
                        edt_CardExit();
                });
            else if (field == edt_RealMoney)
                edt_RealMoneyExit();
        }
    }
    return QDialog::eventFilter(watched, event);
}
