#include "members/MemberRules.h"

#include "context/AppInfo.h"
#include "data/Database.h"
#include "data/TextRules.h"
#include "data/TextSearch.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace
{

// The day the expiry picker stands for starts at midnight, so a card that
// expires today is already refused.
bool ExpiryPassed(const QDate &expiry, const QDateTime &now)
{
    return !expiry.isValid() || now > QDateTime(expiry, QTime(0, 0));
}

// The three birth date texts as a calendar date; invalid when any is not an
// integer or they form no date.
QDate BirthDate(const QString &year, const QString &month, const QString &day)
{
    bool okY = false, okM = false, okD = false;
    const int y = year.toInt(&okY);
    const int m = month.toInt(&okM);
    const int d = day.toInt(&okD);
    if (!okY || !okM || !okD)
        return QDate();
    return QDate(y, m, d);
}

QString DateText(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

bool CardHeldByOther(Database &db, const QString &card, qint64 exceptId)
{
    return db
        .scalar(QStringLiteral("SELECT 1 FROM User_Info WHERE User_Card = ? AND User_ID <> ? "
                               "LIMIT 1"),
                {card, exceptId})
        .isValid();
}

// Double quotes keep a caption usable as a column title whatever it holds.
QString Alias(const QString &caption)
{
    QString quoted = caption;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A bound text is never NULL: NULL would match nothing, not everything.
QString NotNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Trimmed, quote-replaced and never null (the columns refuse NULL).
QString Stored(const QString &text)
{
    return NotNull(CleanText(text));
}

QString Password(const QString &text)
{
    return NotNull(text.trimmed());
}

// The fields cleaned the way both card windows store them.
struct CleanFields {
    QString card, name, sex, year, month, day, tel, mobi, address, work, wenhua, likeColor, size,
        yaowei, other, password, confirmPassword;

    explicit CleanFields(const MemberFields &in)
        : card(Stored(in.card)), name(Stored(in.name)), sex(Stored(in.sex)), year(Stored(in.year)),
          month(Stored(in.month)), day(Stored(in.day)), tel(Stored(in.tel)), mobi(Stored(in.mobi)),
          address(Stored(in.address)), work(Stored(in.work)), wenhua(Stored(in.wenhua)),
          likeColor(Stored(in.likeColor)), size(Stored(in.size)), yaowei(Stored(in.yaowei)),
          other(Stored(in.other)), password(Password(in.password)),
          confirmPassword(Password(in.confirmPassword))
    {
    }
};

} // namespace

Check IssueCard(Database &db, const MemberFields &in, bool cardPasswords, const QDateTime &now)
{
    const CleanFields f(in);
    if (f.card.isEmpty())
        return Refusal{QStringLiteral("卡号不能为空！"), QStringLiteral("UserCard")};
    if (f.name.isEmpty())
        return Refusal{QStringLiteral("姓名不能为空！"), QStringLiteral("UserName")};
    if (f.sex.isEmpty())
        return Refusal{QStringLiteral("请选择性别！"), QStringLiteral("UserSex")};
    if (cardPasswords) {
        if (f.password.isEmpty())
            return Refusal{QStringLiteral("卡密码不能为空!"), QStringLiteral("edt_FirstPwd")};
        if (f.confirmPassword.isEmpty())
            return Refusal{QStringLiteral("确认密码不能为空!"), QStringLiteral("edt_ConfirmPwd")};
    }

    QString birthText = QStringLiteral("");
    const int given = int(!f.year.isEmpty()) + int(!f.month.isEmpty()) + int(!f.day.isEmpty());
    if (given != 0 && given != 3)
        return Refusal{MemberText::BadBirthDate, QStringLiteral("UserYear")};
    if (given == 3) {
        if (!BirthDate(f.year, f.month, f.day).isValid())
            return Refusal{MemberText::BadBirthDate, QStringLiteral("UserDay")};
        // The list texts joined as they are (1980-2-29).
        birthText = f.year + QLatin1Char('-') + f.month + QLatin1Char('-') + f.day;
    }

    if (ExpiryPassed(in.expiry, now))
        return Refusal{QStringLiteral("有效日期不能小于建卡当前日期!"),
                       QStringLiteral("dtp_CardDate")};
    if (cardPasswords && f.password != f.confirmPassword)
        return Refusal{QStringLiteral("两次输入的卡密码不一致!"), QStringLiteral("edt_ConfirmPwd")};

    Transaction tx(db);
    if (CardHeldByOther(db, f.card, 0))
        return Refusal{MemberText::CardTaken, QStringLiteral("UserCard")};

    QString columns = QStringLiteral(
        "User_Card, User_Name, User_Sex, User_Brithday, User_Tel, User_Mobi, User_Address, "
        "User_Work, User_LikeColor, User_Wenhua, User_Size, User_Yaowei, User_Other, User_Date, "
        "User_Stop, User_Xiaofei");
    QVariantList values = {f.card,
                           f.name,
                           f.sex,
                           birthText,
                           f.tel,
                           f.mobi,
                           f.address,
                           f.work,
                           f.likeColor,
                           f.wenhua,
                           f.size,
                           f.yaowei,
                           f.other,
                           DateText(in.expiry),
                           in.locked ? 1 : 0,
                           QStringLiteral("y")};
    if (cardPasswords) {
        columns += QStringLiteral(", User_CardPWD");
        values << f.confirmPassword;
    }
    QStringList marks;
    for (int i = 0; i < values.size(); ++i)
        marks << QStringLiteral("?");
    db.insert(QStringLiteral("INSERT INTO User_Info (%1) VALUES (%2)")
                  .arg(columns, marks.join(QStringLiteral(", "))),
              values);
    tx.commit();
    return std::nullopt;
}

Check SaveMember(Database &db, qint64 userId, const MemberFields &in, bool cardPasswords,
                 const QDateTime &now)
{
    const CleanFields f(in);
    if (f.card.isEmpty())
        return Refusal{QStringLiteral("卡号不能为空！"), QStringLiteral("Edit1")};
    if (f.name.isEmpty())
        return Refusal{QStringLiteral("姓名不能为空！"), QStringLiteral("Edit2")};
    if (f.sex.isEmpty())
        return Refusal{QStringLiteral("请选择性别！"), QStringLiteral("ComboBox1")};
    const QString askBirth = QStringLiteral("请选择出生日期！");
    if (f.year.isEmpty())
        return Refusal{askBirth, QStringLiteral("ComboBox2")};
    if (f.month.isEmpty())
        return Refusal{askBirth, QStringLiteral("ComboBox3")};
    if (f.day.isEmpty())
        return Refusal{askBirth, QStringLiteral("ComboBox4")};
    if (cardPasswords) {
        if (f.password.isEmpty())
            return Refusal{QStringLiteral("修改密码不能为空!"), QStringLiteral("edt_SecondPwd")};
        if (f.confirmPassword.isEmpty())
            return Refusal{QStringLiteral("确认密码不能为空!"), QStringLiteral("edt_ConfirmPwd")};
        if (f.password != f.confirmPassword)
            return Refusal{QStringLiteral("修改后的密码与确认密码不一致!"),
                           QStringLiteral("edt_SecondPwd")};
    }
    const QDate birth = BirthDate(f.year, f.month, f.day);
    if (!birth.isValid())
        return Refusal{MemberText::BadBirthDate, QStringLiteral("ComboBox2")};
    if (ExpiryPassed(in.expiry, now))
        return Refusal{QStringLiteral("所修改卡有效日期不能小于当前日期!"),
                       QStringLiteral("dtp_CardDate")};

    Transaction tx(db);
    if (CardHeldByOther(db, f.card, userId))
        return Refusal{MemberText::CardTakenOnEdit, QStringLiteral("Edit1")};

    QString sets = QStringLiteral(
        "User_Card = ?, User_Name = ?, User_Stop = ?, User_Work = ?, User_Wenhua = ?, "
        "User_LikeColor = ?, User_Size = ?, User_Date = ?, User_Yaowei = ?, User_Tel = ?, "
        "User_Mobi = ?, User_Sex = ?, User_Brithday = ?, User_Address = ?, User_Other = ?");
    QVariantList values = {f.card,      f.name, in.locked ? 1 : 0,   f.work,    f.wenhua,
                           f.likeColor, f.size, DateText(in.expiry), f.yaowei,  f.tel,
                           f.mobi,      f.sex,  DateText(birth),     f.address, f.other};
    if (cardPasswords) {
        sets += QStringLiteral(", User_CardPWD = ?");
        values << f.confirmPassword;
    }
    values << userId;
    const int changed =
        db.update(QStringLiteral("UPDATE User_Info SET %1 WHERE User_ID = ?").arg(sets), values);
    if (changed == 0)
        return Refusal{QStringLiteral("没有查到此用户！"), QString()};
    tx.commit();
    return std::nullopt;
}

int DeleteMember(Database &db, qint64 userId)
{
    Transaction tx(db);
    const int n = db.update(QStringLiteral("DELETE FROM User_Info WHERE User_ID = ?"), {userId});
    tx.commit();
    return n;
}

std::optional<Member> FindNewestMember(Database &db, MemberKey key, const QString &value)
{
    const QString select = QStringLiteral("SELECT User_Info.*");
    QuerySource source;
    switch (key) {
    case MemberKey::Card:
        source = {select + QStringLiteral(" FROM User_Info WHERE User_Card = ? "
                                          "ORDER BY User_ID DESC"),
                  {NotNull(value)}};
        break;
    case MemberKey::Id:
        source = {select + QStringLiteral(" FROM User_Info WHERE User_ID = ?"),
                  {value.trimmed().toLongLong()}};
        break;
    case MemberKey::Name:
        source = MembersContaining(select, SearchedText::Name, value, SearchOrder::NewestFirst);
        break;
    }
    QSqlQuery q = db.exec(source.sql + QStringLiteral(" LIMIT 1"), source.binds);
    if (!q.next())
        return std::nullopt;
    return Member::FromRecord(q.record());
}

QDate ParseStoredDate(const QString &text)
{
    const QString datePart = text.trimmed().section(QLatin1Char(' '), 0, 0);
    const QStringList parts = datePart.split(QLatin1Char('-'));
    if (parts.size() != 3)
        return QDate();
    bool okY = false, okM = false, okD = false;
    const int y = parts[0].toInt(&okY);
    const int m = parts[1].toInt(&okM);
    const int d = parts[2].toInt(&okD);
    if (!okY || !okM || !okD || parts[0].size() != 4)
        return QDate();
    return QDate(y, m, d);
}

QuerySource MemberListSource(bool byMoneySpent)
{
    QString sql =
        QStringLiteral("SELECT User_ID AS 序号, User_Card AS 卡号, User_Name AS 姓名, "
                       "User_Sex AS 性别, User_Num AS 积分, User_MoneyAll AS 消费金额, "
                       "User_ChuZhi AS 储值金额, User_Brithday AS 出生日期, User_Date AS 有效期, "
                       "User_Stop AS 锁定, User_Work AS 职业, User_Wenhua AS 文化程度, "
                       "User_LikeColor AS %1, User_Size AS %2, User_Yaowei AS %3, "
                       "User_Tel AS 电话, User_Mobi AS 手机, User_InputDate AS 时间 "
                       "FROM User_Info ")
            .arg(Alias(AppInfo::MemberFieldCaption1), Alias(AppInfo::MemberFieldCaption2),
                 Alias(AppInfo::MemberFieldCaption3));
    sql += byMoneySpent ? QStringLiteral("ORDER BY User_MoneyAll DESC, User_ID DESC")
                        : QStringLiteral("ORDER BY User_ID DESC");
    return {sql, {}};
}

QuerySource MemberLookupSource(LookupFilter filter, const QString &value)
{
    const QString columns = QStringLiteral(
        "SELECT User_ID AS 序号, User_Card AS 卡号, User_Name AS 姓名, User_Sex AS 性别, "
        "User_Brithday AS 出生年月, User_Tel AS 电话, User_Mobi AS 手机, User_Address AS 地址, "
        "User_Work AS 职业, User_Wenhua AS 学历, User_Other AS 备注");
    switch (filter) {
    case LookupFilter::All:
        return {columns + QStringLiteral(" FROM User_Info"), {}};
    case LookupFilter::Card:
        return MembersContaining(columns, SearchedText::Card, value, SearchOrder::OldestFirst);
    case LookupFilter::Name:
        return MembersContaining(columns, SearchedText::Name, value, SearchOrder::OldestFirst);
    case LookupFilter::Id:
        return {columns + QStringLiteral(" FROM User_Info WHERE User_ID = ?"),
                {value.trimmed().toLongLong()}};
    case LookupFilter::Nothing:
        break;
    }
    return {columns + QStringLiteral(" FROM User_Info WHERE User_ID = -1"), {}};
}

QuerySource MemberMatchesSource(MatchKind kind, const QString &value)
{
    if (kind == MatchKind::UserName)
        return MembersContaining(QStringLiteral("SELECT User_ID AS 序号, User_Card AS 卡号, "
                                                "User_Name AS 姓名, User_Sex AS 性别"),
                                 SearchedText::Name, value, SearchOrder::NewestFirst);
    return {QStringLiteral("SELECT User_ID AS 序号, User_Card AS 卡号, User_Name AS 姓名, "
                           "User_ChuZhi AS 储值金额, User_Sex AS 性别 FROM User_Info "
                           "WHERE User_ID = ? ORDER BY User_ID DESC"),
            {value.trimmed().toLongLong()}};
}

QuerySource MemberSalesSource(qint64 userId)
{
    return {QStringLiteral("SELECT SaleID AS 序号, User_Name AS 姓名, JiFenAll AS 积分, "
                           "PriceAll AS 消费额, SaleDate AS 消费时间, StoreName AS 店名, "
                           "Admin_Name AS 操作员 FROM S_Sale_All WHERE UserID = ? "
                           "ORDER BY SaleID DESC"),
            {userId}};
}

QuerySource SaleLinesSource(qint64 saleId)
{
    return {QStringLiteral(
                "SELECT SaleDetailID AS 序号, SaleID AS 消费序号, ProName AS 产品名, "
                "ProPrice AS 价格, ProSalePrice AS 打折价, ProJiFen AS 积分, ProShuliang AS 数量, "
                "(ProSalePrice * ABS(ProShuliang)) AS 总价格, (ProJiFen * ABS(ProShuliang)) AS "
                "总积分, ProSortName AS 类别, BrandName AS 品牌, DaoGouName AS 导购, "
                "OrderOther AS 备注 FROM S_SaleDetail_All WHERE SaleID = ? "
                "ORDER BY SaleDetailID DESC"),
            {saleId}};
}

QuerySource AllSaleLinesExportSource()
{
    return {QStringLiteral("SELECT User_Name AS 姓名, SaleDate AS 销售日期, ProName AS 产品名, "
                           "BrandName AS 品牌, ProSortName AS 类别, ProPrice AS 单价, "
                           "ProSalePrice AS 折扣价, ProShuliang AS 数量, "
                           "(ProSalePrice * ABS(ProShuliang)) AS 合计金额, "
                           "(ProJiFen * ABS(ProShuliang)) AS 积分, DaoGouName AS 销售员, "
                           "OrderOther AS 备注 FROM SaleView"),
            {}};
}
