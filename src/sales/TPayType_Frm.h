#pragma once

#include "context/AppContext.h"
#include "sales/Checkout.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;

// The payment dialog of the member sale screens: the amount due split
// between cash and the member's stored value. On 确定 the checkout stores
// the sale in one transaction, the receipts print and the dialog closes.
class TPayType_Frm : public QDialog
{
    Q_OBJECT
public:
    explicit TPayType_Frm(AppContext &ctx, QWidget *parent = nullptr);

    // Shows the dialog modally for the calling screen's bill. The new sale's
    // id when the bill was paid; nothing when the operator cancelled.
    std::optional<qint64> Pay(const BillFigures &bill);

    QLineEdit *edt_PayMoney;  // amount due (应收金额)
    QLineEdit *edt_Cash;      // cash part (现金)
    QLineEdit *edt_Card;      // stored-value part (储值卡)
    QLineEdit *edt_RealMoney; // amount received (实收金额)
    QLineEdit *edt_PayZero;   // change (找零)
    QPushButton *BtnOk;
    QPushButton *btnCancel;

    void FormShow();
    void edt_CashChange();
    void edt_CardChange();
    void edt_CardExit();
    void edt_RealMoneyExit();
    void BtnOkClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The received and change fields from cash + stored value; false when a
    // field does not hold an amount.
    bool Recompute();
    // True when the amount received covers the amount due.
    bool Covered() const;
    void EnterCheck(QLineEdit *field);
    void CheckCardMoney();
    void FocusAndSelect(QLineEdit *field);
    double Balance() const;

    AppContext &m_ctx;
    BillFigures m_bill;
    qint64 m_saleId = 0;
};
