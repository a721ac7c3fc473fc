#pragma once

#include "data/Money.h"

#include <QString>
#include <optional>

class Database;
class QSqlRecord;

// One member as stored in User_Info. Texts are as stored (not trimmed);
// the stored value is Money, points and spending are plain numbers.
struct Member {
    qint64 id = 0;
    QString card, name, sex;
    double points = 0;   // User_Num
    double spending = 0; // User_MoneyAll: everything bought so far
    Money balance;       // User_ChuZhi: stored value
    QString birthday;    // User_Brithday
    QString tel, mobi, address, work, wenhua, other;
    QString likeColor, size, yaowei; // the three free member fields
    QString validUntil;              // User_Date
    int stop = 0;                    // User_Stop: 1 locked, 0 in use
    QString cardPassword;            // User_CardPWD
    QString inputDate;               // User_InputDate

    bool locked() const { return stop == 1; }

    // The member of a row selected with every User_Info column.
    static Member FromRecord(const QSqlRecord &record);
};

// What a window shows of a member, field by field.
enum class MemberField {
    Card,
    Name,
    Sex,
    Points,
    WholePoints, // User_Num read as a whole number (halves to even)
    Spending,
    Balance,
    Birthday,
    Tel,
    Mobi,
    Address,
    Work,
    Wenhua,
    Other,
    LikeColor,
    Size,
    Yaowei,
    ValidUntil,
    InputDate,
};

// A field as a label shows it: numbers in their shortest decimal form.
QString MemberFieldText(const Member &member, MemberField field);

// The member with that id; nothing when there is none. Throws DbError.
std::optional<Member> LoadMember(Database &db, qint64 id);
// The first member (lowest id) holding that card number exactly; nothing
// when none does. Throws DbError.
std::optional<Member> LoadMemberByCard(Database &db, const QString &card);
