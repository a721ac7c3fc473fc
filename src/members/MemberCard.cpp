#include "members/MemberCard.h"

#include "data/Database.h"
#include "data/TextRules.h"

namespace MemberCard
{

namespace
{

// The end of validity: the stored date (or date and time). An empty or
// unreadable date counts as long past.
QDateTime ValidUntil(const QString &stored)
{
    const QString text = stored.trimmed();
    for (const char *format :
         {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd", "yyyy-M-d"}) {
        const QDateTime at = QDateTime::fromString(text, QString::fromLatin1(format));
        if (at.isValid())
            return at;
    }
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

Refusal CardRefusal(const char *message)
{
    return {QString::fromUtf8(message), QStringLiteral("UserCard")};
}

} // namespace

CardCheckResult Check(Database &db, const QString &typed, const QDateTime &now, SaleScreenKind kind)
{
    CardCheckResult result;
    const QString card = CleanText(typed);
    if (card.isEmpty()) {
        result.refusal =
            CardRefusal(kind == SaleScreenKind::Scan ? "卡号不能为空！" : "卡号不能为空!");
        result.keepCard = true;
        return result;
    }
    const std::optional<Member> m = LoadMemberByCard(db, card);
    if (!m) {
        result.refusal = CardRefusal("没有找到该用户");
        return result;
    }
    if (m->locked()) {
        result.refusal = CardRefusal("该用户已被锁定!");
        return result;
    }
    if (now >= ValidUntil(m->validUntil)) {
        result.refusal = CardRefusal("该卡已过期!");
        return result;
    }
    result.member = m;
    return result;
}

bool PasswordMatches(const Member &member, const QString &typed)
{
    return typed.trimmed() == member.cardPassword.trimmed();
}

Refusal WrongPassword(SaleScreenKind kind)
{
    return {kind == SaleScreenKind::Scan ? QStringLiteral("录入的卡密码不正确!")
                                         : QStringLiteral("录入的卡密码不正确, 请重新录入!"),
            QStringLiteral("UserCard")};
}

} // namespace MemberCard
