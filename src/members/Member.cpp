#include "members/Member.h"

#include "data/Database.h"
#include "data/TextRules.h"

#include <QSqlRecord>
#include <cmath>

Member Member::FromRecord(const QSqlRecord &r)
{
    const auto text = [&r](const char *column) {
        return r.value(QLatin1String(column)).toString();
    };
    Member m;
    m.id = r.value(QStringLiteral("User_ID")).toLongLong();
    m.card = text("User_Card");
    m.name = text("User_Name");
    m.sex = text("User_Sex");
    m.points = r.value(QStringLiteral("User_Num")).toDouble();
    m.spending = r.value(QStringLiteral("User_MoneyAll")).toDouble();
    m.balance = Money::fromVariant(r.value(QStringLiteral("User_ChuZhi")));
    m.birthday = text("User_Brithday");
    m.tel = text("User_Tel");
    m.mobi = text("User_Mobi");
    m.address = text("User_Address");
    m.work = text("User_Work");
    m.wenhua = text("User_Wenhua");
    m.other = text("User_Other");
    m.likeColor = text("User_LikeColor");
    m.size = text("User_Size");
    m.yaowei = text("User_Yaowei");
    m.validUntil = text("User_Date");
    m.stop = r.value(QStringLiteral("User_Stop")).toInt();
    m.cardPassword = text("User_CardPWD");
    m.inputDate = text("User_InputDate");
    return m;
}

QString MemberFieldText(const Member &m, MemberField field)
{
    switch (field) {
    case MemberField::Card:
        return m.card;
    case MemberField::Name:
        return m.name;
    case MemberField::Sex:
        return m.sex;
    case MemberField::Points:
        return NumberText(m.points);
    case MemberField::WholePoints:
        return NumberText(std::nearbyint(m.points));
    case MemberField::Spending:
        return NumberText(m.spending);
    case MemberField::Balance:
        return NumberText(m.balance.toDouble());
    case MemberField::Birthday:
        return m.birthday;
    case MemberField::Tel:
        return m.tel;
    case MemberField::Mobi:
        return m.mobi;
    case MemberField::Address:
        return m.address;
    case MemberField::Work:
        return m.work;
    case MemberField::Wenhua:
        return m.wenhua;
    case MemberField::Other:
        return m.other;
    case MemberField::LikeColor:
        return m.likeColor;
    case MemberField::Size:
        return m.size;
    case MemberField::Yaowei:
        return m.yaowei;
    case MemberField::ValidUntil:
        return m.validUntil;
    case MemberField::InputDate:
        return m.inputDate;
    }
    return QString();
}

std::optional<Member> LoadMemberByCard(Database &db, const QString &card)
{
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT * FROM User_Info WHERE User_Card = ? ORDER BY User_ID LIMIT 1"),
        {card});
    if (!q.next())
        return std::nullopt;
    return Member::FromRecord(q.record());
}

std::optional<Member> LoadMember(Database &db, qint64 id)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM User_Info WHERE User_ID = ?"), {id});
    if (!q.next())
        return std::nullopt;
    return Member::FromRecord(q.record());
}
