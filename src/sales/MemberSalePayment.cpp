#include "sales/MemberSalePayment.h"

#include "data/TextRules.h"
#include "sales/ReceiptLayout.h"
#include "sales/ReceiptPrinter.h"

MemberSalePayment::MemberSalePayment(AppContext &ctx, const CheckoutRequest &request,
                                     const QString &card)
    : m_ctx(ctx), m_request(request), m_card(card)
{
}

PaymentOutcome MemberSalePayment::Run(const PaymentAmounts &amounts)
{
    CheckoutRequest r = m_request;
    r.cash = amounts.cash;
    r.stored = amounts.card;
    r.now = m_ctx.clock.now();
    const CheckoutResult result = Checkout(m_ctx.db).Run(r);
    PaymentOutcome outcome;
    outcome.refusal = result.refusal;
    // Nothing in the dialog can mend a bill changed elsewhere: back to the
    // sale screen, which shows it afresh.
    outcome.closeDialog = result.billChanged;
    outcome.id = result.saleId;
    return outcome;
}

void MemberSalePayment::AfterCommit(const PaymentAmounts &amounts, qint64 saleId)
{
    emit m_ctx.notices.salesChanged();
    emit m_ctx.notices.memberChanged(int(m_request.memberId));
    int copies = 0;
    Guarded(m_ctx.prompter, [&] { copies = ReceiptCopies(m_ctx.db, m_ctx.session.settings); });
    if (copies <= 0)
        return;
    ReceiptFigures figures;
    figures.cardNo = m_card.trimmed();
    figures.total = TotalText(m_request.bill.amount);
    figures.cash = amounts.cashText;
    figures.storedValue = amounts.cardText;
    figures.change = amounts.changeText;
    PrintSaleReceipt(m_ctx, saleId, copies, figures);
}

QString MemberSalePayment::SuccessMessage() const
{
    return QStringLiteral("收款结帐成功，请刷卡，操作下一位客户！");
}
