#pragma once

#include "data/PaymentSplit.h"

#include <QWidget>
#include <optional>

class Prompter;
class QLineEdit;
class QPushButton;

// The cash / stored-value entry of a payment dialog: the amount due, the
// cash and stored-value parts, the amount received and the change, with
// their keyboard rules and messages. The arithmetic is PaymentSplit's;
// the dialog around it owns the confirm button and the operation.
class PaymentEntry : public QWidget
{
    Q_OBJECT
public:
    PaymentEntry(Prompter &prompter, QWidget *parent = nullptr);

    // The button Enter moves to (and presses from the change field); it is
    // enabled while the amount received covers the amount due.
    void setConfirmButton(QPushButton *button);

    // Starts a new payment: the due and balance as the operator sees them.
    void Start(Money due, const QString &dueText, Money balance, const QString &balanceText);

    // The amounts typed, parsed; nothing when a field does not hold an
    // amount (the refusal is shown and the focus put there).
    std::optional<PaymentSplit> Confirmed();
    QString cashText() const;
    QString cardText() const;
    QString changeText() const;

    QLineEdit *edt_PayMoney;  // amount due (应收金额)
    QLineEdit *edt_Cash;      // cash part (现金)
    QLineEdit *edt_Card;      // stored-value part (储值卡)
    QLineEdit *edt_RealMoney; // amount received (实收金额)
    QLineEdit *edt_PayZero;   // change (找零)

    void edt_CashChange();
    void edt_CardChange();
    void edt_CardExit();
    void edt_RealMoneyExit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The received and change fields from cash + stored value; false when a
    // field does not hold an amount.
    bool Recompute();
    // True when the amount received covers the amount due.
    bool Covered() const;
    void EnterCheck(QLineEdit *field);
    void FocusAndSelect(QLineEdit *field);
    void ConfirmReady();

    Prompter &m_prompter;
    QPushButton *m_confirm = nullptr;
    Money m_due;
    Money m_balance;
    QString m_balanceText;
};
