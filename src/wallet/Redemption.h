#pragma once

#include "data/Money.h"
#include "data/QuerySource.h"
#include "data/Refusal.h"
#include "members/Member.h"
#include "members/MemberAccount.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class Database;

// What the operator typed into the boxes of the redemption window, as it
// stands (not yet trimmed).
struct RedemptionTexts {
    QString item;   // 物品 (Edit2)
    QString value;  // 价值 (Edit3)
    QString points; // 所兑积分 (Edit4)
    QString cash;   // 加现金 (Edit5)
    QString remark; // 备注 (Edit6)
};

// A redemption as the window's checks accepted it: texts trimmed with their
// quotes replaced, amounts parsed exactly.
struct RedemptionEntry {
    QString item;
    Money value;
    qint64 points = 0; // whole points
    Money cash;        // paid on top: value minus points
    QString remark;
};

// The outcome of the window's checks: a refusal, or the entry they accepted.
struct EntryCheck {
    std::optional<Refusal> refusal;
    RedemptionEntry entry;
};

// The member lookup: the member found, or why there is none.
struct CardLookup {
    std::optional<Member> member;
    std::optional<Refusal> refusal;
};

// A redemption as the window hands it over: the member shown, the entry the
// checks accepted, who and when.
struct RedemptionRequest {
    qint64 memberId = 0;
    RedemptionEntry entry;
    QString admin; // the operator's name as logged in
    QDateTime now;
};

struct RedemptionResult {
    std::optional<Refusal> refusal; // set: nothing was written
    qint64 cashId = 0;              // the new User_Cash row otherwise
    AccountChange<double> points;   // the member's points before and after
};

// Points exchanged for an item: the record in User_Cash and the points taken
// from the member, in one transaction. The points are checked against what
// is stored when the record is written, so a member redeemed at two windows
// at once never goes below zero. A refusal writes nothing; a database failure
// throws DbError and leaves everything as it was.
class Redemption
{
public:
    explicit Redemption(Database &db) : m_db(db) {}

    RedemptionResult Run(const RedemptionRequest &request);

    // The member of the typed card (trimmed, quotes replaced); refused when
    // the card is empty or unknown. Throws DbError.
    static CardLookup FindCard(Database &db, const QString &typed);
    // A member may redeem only with more points than the shop's threshold.
    static std::optional<Refusal> ThresholdRefusal(const Member &member, int threshold);

    // The eight checks the cash box and the confirmation share, in order:
    // item, value, points, the points against the member's points and against
    // the value. The entry's cash and remark are left empty.
    static EntryCheck CheckItem(const RedemptionTexts &typed, double memberPoints);
    // What the cash box is filled with: value minus points, in its shortest
    // decimal form. Parsed back it equals that difference exactly.
    static QString AutomaticCashText(const RedemptionEntry &entry);
    // The confirmation's checks once a member is shown: the eight checks,
    // then the cash, which must be exactly value minus points.
    static EntryCheck CheckConfirmation(const RedemptionTexts &typed, double memberPoints);

    // The records grid: one member's redemptions (0: everybody's), newest first.
    static QuerySource Records(qint64 memberId);
    static QList<int> RecordColumnWidths();

    // The refusals the checks and Run share.
    static QString PointsAboveCurrentMessage();
    static QString WrongCashMessage();

private:
    Database &m_db;
};
