#pragma once

#include "data/Refusal.h"
#include "members/Member.h"

#include <QDateTime>
#include <QString>
#include <optional>

class Database;

// The two member sale screens: items typed by hand, or looked up by code.
// Their card checks differ in a few messages.
enum class SaleScreenKind { Standard, Scan };

// What the card check of a sale screen found.
struct CardCheckResult {
    // The member, when the card is usable (password still to be asked).
    std::optional<Member> member;
    // Why the card is refused; the card field is then emptied unless
    // keepCard is set.
    std::optional<Refusal> refusal;
    bool keepCard = false;
};

namespace MemberCard
{

// Checks a card as the sale screens do: typed text trimmed and quote-
// replaced; refused when empty, unknown, locked, or expired (a card valid
// until today is expired from midnight on). Throws DbError.
CardCheckResult Check(Database &db, const QString &typed, const QDateTime &now,
                      SaleScreenKind kind);

// The typed password against the stored one, both trimmed.
bool PasswordMatches(const Member &member, const QString &typed);

// The refusal of a wrong card password on the given screen.
Refusal WrongPassword(SaleScreenKind kind);

} // namespace MemberCard
