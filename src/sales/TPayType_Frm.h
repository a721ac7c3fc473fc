#pragma once

#include "context/AppContext.h"
#include "data/Money.h"
#include "sales/PaymentOperation.h"

#include <QDialog>
#include <optional>

class PaymentEntry;
class QLineEdit;
class QPushButton;

// What a payment dialog is opened for: the amount due and the member's
// stored value, as figures and as the texts the operator sees.
struct PaymentDue {
    Money due;
    QString dueText; // "59.70"
    Money balance;
    QString balanceText; // "500"
};

// The payment dialog of the checkouts: the amount due split between cash
// and the member's stored value. On 确定 the operation it was opened with
// writes everything in one transaction, then prints, and the dialog closes.
class TPayType_Frm : public QDialog
{
    Q_OBJECT
public:
    explicit TPayType_Frm(AppContext &ctx, QWidget *parent = nullptr);

    // Shows the dialog modally. What `operation` wrote (a sale id) when the
    // bill was paid; nothing when the operator cancelled or a refusal closed
    // the dialog.
    std::optional<qint64> Pay(const PaymentDue &due, PaymentOperation &operation);

    PaymentEntry *Entry;
    // The entry's fields, by their names.
    QLineEdit *edt_PayMoney, *edt_Cash, *edt_Card, *edt_RealMoney, *edt_PayZero;
    QPushButton *BtnOk;
    QPushButton *btnCancel;

    void BtnOkClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    AppContext &m_ctx;
    PaymentOperation *m_operation = nullptr;
    qint64 m_paidId = 0;
};
