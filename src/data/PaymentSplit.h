#pragma once

#include "data/Money.h"

#include <QString>

// An amount due split between cash and the member's stored value, as a
// payment entry shows it: what was received, the change, and whether the
// split may be confirmed.
struct PaymentSplit {
    Money due;
    Money balance; // the member's stored value
    Money cash;
    Money card; // the part paid from the stored value

    Money received() const { return cash + card; }
    Money change() const { return received() - due; }
    bool covered() const { return due <= received(); }
    // The stored-value part can be used only with a balance above zero.
    bool cardUsable() const { return Money() < balance; }
    // The stored-value part may exceed neither the balance nor the amount due.
    bool cardWithinLimits() const { return card <= balance && card <= due; }
};

// The refusal of a stored-value part above the balance or the amount due,
// with the three amounts as the operator sees them.
QString CardLimitMessage(const QString &card, const QString &balance, const QString &due);
