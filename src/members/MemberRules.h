#pragma once

#include "data/QuerySource.h"
#include "data/Refusal.h"
#include "members/Member.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

class Database;

// The member windows' rules: checking and storing a card, the lists they show.

// One member's fields as the card windows collect them, texts as typed.
struct MemberFields {
    QString card, name, sex;
    QString year, month, day; // birth date, as the three lists show it
    QString tel, mobi, address, work, wenhua;
    QString likeColor, size, yaowei; // the three free member fields
    QString other;
    QDate expiry; // User_Date
    bool locked = false;
    QString password;        // issue: the first password; edit: the new password
    QString confirmPassword; // the password stored
};

// Messages shared by the windows and their tests.
namespace MemberText
{
inline const QString CardTaken = QStringLiteral("此卡号已存在！");
inline const QString CardTakenOnEdit = QStringLiteral("已经卡号已经存在，不能重复，请换一个！");
inline const QString BadBirthDate = QStringLiteral("出生日期的格式不对，请重试");
inline const QString IssueFailed = QStringLiteral("出现错误!");
inline const QString Issued = QStringLiteral("建卡成功！");
inline const QString Saved = QStringLiteral("修改成功！");
inline const QString Deleted = QStringLiteral("删除成功！");
inline const QString AskDelete = QStringLiteral("真的要删除该用户吗？");
} // namespace MemberText

// Checks a new card (the card window's order of checks, focus names of its
// controls) and, when nothing is refused, stores it with the database
// defaults for points, amounts and creation time. Throws DbError when the
// row cannot be written (nothing is stored then).
Check IssueCard(Database &db, const MemberFields &in, bool cardPasswords, const QDateTime &now);

// Checks the edit of member `userId` (the edit dialog's order of checks and
// focus names) and, when nothing is refused, writes it in one statement.
// Throws DbError.
Check SaveMember(Database &db, qint64 userId, const MemberFields &in, bool cardPasswords,
                 const QDateTime &now);

// Deletes the member row only (sales, recharges and count cards stay).
// Returns the number of rows deleted. Throws DbError.
int DeleteMember(Database &db, qint64 userId);

// How the consumption query finds the member it shows.
enum class MemberKey { Card, Id, Name };
// The newest member (highest User_ID) whose card equals, id equals or name
// contains `value`; nothing when none. Throws DbError.
std::optional<Member> FindNewestMember(Database &db, MemberKey key, const QString &value);

// A stored date text (yyyy-MM-dd, yyyy-M-d, optionally followed by a time)
// as a date; invalid when the text is empty or no date.
QDate ParseStoredDate(const QString &text);

// The member list: newest card first, or by amount spent (highest first,
// then newest card first).
QuerySource MemberListSource(bool byMoneySpent);

// The member lookup dialog's list.
enum class LookupFilter { All, Card, Name, Id, Nothing };
QuerySource MemberLookupSource(LookupFilter filter, const QString &value = QString());

// The consumption query's grids.
enum class MatchKind { UserID, UserName };
QuerySource MemberMatchesSource(MatchKind kind, const QString &value);
QuerySource MemberSalesSource(qint64 userId);
QuerySource SaleLinesSource(qint64 saleId);
// Every sale line of every member, for the consumption query's full export.
QuerySource AllSaleLinesExportSource();
