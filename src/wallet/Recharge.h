#pragma once

#include "data/Money.h"
#include "data/QuerySource.h"
#include "data/Refusal.h"
#include "members/Member.h"
#include "members/MemberAccount.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

class Database;

// A recharge as the recharge window hands it over: the member it looked
// up, the store picked, the amount it parsed (negative: a withdrawal the
// operator confirmed), who and when.
struct RechargeRequest {
    qint64 memberId = 0;
    int storeId = 0; // SL_Store.StoreID of the store picked in the list
    Money amount;
    QString maker;   // the operator's name (FMaker)
    int adminId = 0; // the operator's id (FAdminID)
    QDateTime now;
};

struct RechargeResult {
    std::optional<Refusal> refusal; // set: nothing was written
    qint64 recordId = 0;            // the new TblAddMoney row otherwise
    QString billNo;                 // the bill number the record carries
    AccountChange<Money> balance;   // the member's stored value before and after
};

// What the operator typed into the amount box, parsed once: the amount, or
// why it is refused (nothing to write then).
struct RechargeAmount {
    std::optional<Money> amount;
    std::optional<Refusal> refusal;
};

// The stored-value recharge: one TblAddMoney record and the change of the
// member's balance, in one transaction. The balance before is read inside
// it, the balance after is before + amount, and the bill number is counted
// there too, so a second till can neither lose a recharge nor write the
// same bill number. A refusal writes nothing; a database failure throws
// DbError and leaves everything as it was.
class Recharge
{
public:
    explicit Recharge(Database &db) : m_db(db) {}

    RechargeResult Run(const RechargeRequest &request);

    // The bill number of a recharge on `date` when `rows` recharge records
    // are on file: yyyyMMdd followed by rows + 1, without padding.
    static QString BillNo(const QDate &date, qint64 rows);
    // The bill number the next recharge on `date` gets. Throws DbError.
    static QString NextBillNo(Database &db, const QDate &date);

    // The member holding the typed card (blanks around ignored); nothing
    // when no member or more than one member holds it. Throws DbError.
    static std::optional<Member> FindCard(Database &db, const QString &typed);

    // The whole recharge history, newest first, with the grid's titles.
    static QuerySource History();
    // One card's history, newest first.
    static QuerySource CardHistory(const QString &card);
    // The stores the operator may pick (id, name): only the operator's own
    // store when the login names one ("0": every store shown).
    static QuerySource Stores(const QString &dianMianId);

    // True when every character is a digit, '-' or '.' (the empty text too):
    // what the amount box may hold.
    static bool IsAmountText(const QString &text);
    // The longest amount the box takes, in characters after trimming.
    static constexpr int MaxAmountLength = 9;
    // Checks and parses the amount box's text; empty, too long, not a
    // number and amounts that cannot be held exactly are refused.
    static RechargeAmount ParseAmount(const QString &typed);

    static QString WithdrawalQuestion();

private:
    Database &m_db;
};
