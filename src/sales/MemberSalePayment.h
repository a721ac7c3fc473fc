#pragma once

#include "context/AppContext.h"
#include "sales/Checkout.h"
#include "sales/PaymentOperation.h"

// The member checkout as the payment dialog runs it: the Checkout for the
// amounts confirmed, then the receipts and the change notices.
class MemberSalePayment : public PaymentOperation
{
public:
    // `request` holds the member, shop, bill and operator; the amounts and
    // the time are filled in when the dialog confirms. `card` is the card
    // number the receipt prints.
    MemberSalePayment(AppContext &ctx, const CheckoutRequest &request, const QString &card);

    PaymentOutcome Run(const PaymentAmounts &amounts) override;
    void AfterCommit(const PaymentAmounts &amounts, qint64 saleId) override;
    QString SuccessMessage() const override;

private:
    AppContext &m_ctx;
    CheckoutRequest m_request;
    QString m_card;
};
