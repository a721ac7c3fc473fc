#pragma once

#include "data/Money.h"
#include "data/Refusal.h"

#include <QString>
#include <optional>

// The amounts a payment dialog confirmed, parsed once at its edge, with the
// texts the operator saw (for receipts).
struct PaymentAmounts {
    Money cash;
    Money card; // from the member's stored value
    QString cashText, cardText, changeText;
};

// What an operation answered to the payment dialog.
struct PaymentOutcome {
    std::optional<Refusal> refusal; // set: nothing was written
    // The refusal cannot be mended in the dialog: it closes.
    bool closeDialog = false;
    qint64 id = 0; // what the operation wrote (a sale id), when not refused
};

// The operation a payment dialog confirms: a member checkout, a retail
// checkout, an external-inventory checkout. The dialog collects and checks
// the amounts; the operation writes them.
class PaymentOperation
{
public:
    virtual ~PaymentOperation() = default;
    // Writes everything in one transaction; a refusal writes nothing, a
    // database failure throws DbError and leaves everything as it was.
    virtual PaymentOutcome Run(const PaymentAmounts &amounts) = 0;
    // After the commit: receipts, notices. A fault here undoes nothing.
    virtual void AfterCommit(const PaymentAmounts &amounts, qint64 id) = 0;
    // The message once everything is done.
    virtual QString SuccessMessage() const = 0;
};
