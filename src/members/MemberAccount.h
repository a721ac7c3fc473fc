#pragma once

#include "data/Money.h"

#include <optional>

class Database;

// A value of a member's account before and after one change.
template <typename T> struct AccountChange {
    T before{};
    T after{};
};

// The one place where a member's stored value, points and spending change.
// Each call reads the stored value and writes the new one inside a
// Transaction guard, so within an operation's transaction a limit checked
// here holds against every other till. Calls throw DbError; a member row
// that is gone throws too (nothing is written then).
class MemberAccount
{
public:
    MemberAccount(Database &db, qint64 memberId) : m_db(db), m_id(memberId) {}

    // True when the member row exists.
    bool exists();
    // Stored value as it is now.
    Money balance();
    double points();

    // Adds to the stored value (a recharge, a refund to the card). A
    // negative amount takes money off without a limit (a withdrawal at the
    // recharge window): the balance may go below zero.
    AccountChange<Money> credit(Money amount);
    // Takes from the stored value; nothing (and nothing written) when the
    // balance is smaller than the amount.
    std::optional<AccountChange<Money>> debit(Money amount);
    // Adds points (negative for a return).
    AccountChange<double> addPoints(double points);
    // Takes points (a redemption); nothing (and nothing written) when the
    // member has fewer.
    std::optional<AccountChange<double>> takePoints(double points);
    // Adds to what the member bought so far (negative for a return).
    AccountChange<double> addSpending(double amount);

private:
    double number(const char *column);
    void write(const char *column, const QVariant &value);

    Database &m_db;
    qint64 m_id;
};
