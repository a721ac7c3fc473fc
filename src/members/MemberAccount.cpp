#include "members/MemberAccount.h"

#include "data/Database.h"

namespace
{

QString Select(const char *column)
{
    return QStringLiteral("SELECT %1 FROM User_Info WHERE User_ID = ?").arg(QLatin1String(column));
}

} // namespace

bool MemberAccount::exists()
{
    return m_db.exec(QStringLiteral("SELECT 1 FROM User_Info WHERE User_ID = ?"), {m_id}).next();
}

double MemberAccount::number(const char *column)
{
    QSqlQuery q = m_db.exec(Select(column), {m_id});
    if (!q.next())
        throw DbError(QStringLiteral("会员（序号%1）已不存在。").arg(m_id));
    return q.value(0).toDouble();
}

void MemberAccount::write(const char *column, const QVariant &value)
{
    const int rows = m_db.update(
        QStringLiteral("UPDATE User_Info SET %1 = ? WHERE User_ID = ?").arg(QLatin1String(column)),
        {value, m_id});
    if (rows != 1)
        throw DbError(QStringLiteral("会员（序号%1）已不存在。").arg(m_id));
}

Money MemberAccount::balance()
{
    return Money::fromDouble(number("User_ChuZhi"));
}

double MemberAccount::points()
{
    return number("User_Num");
}

AccountChange<Money> MemberAccount::credit(Money amount)
{
    Transaction tx(m_db);
    const Money before = balance();
    const AccountChange<Money> change{before, before + amount};
    write("User_ChuZhi", change.after.toVariant());
    tx.commit();
    return change;
}

std::optional<AccountChange<Money>> MemberAccount::debit(Money amount)
{
    Transaction tx(m_db);
    const Money before = balance();
    if (before < amount) {
        tx.commit(); // nothing written: not a failure of the operation
        return std::nullopt;
    }
    const AccountChange<Money> change{before, before - amount};
    write("User_ChuZhi", change.after.toVariant());
    tx.commit();
    return change;
}

AccountChange<double> MemberAccount::addPoints(double added)
{
    Transaction tx(m_db);
    const double before = points();
    const AccountChange<double> change{before, before + added};
    write("User_Num", change.after);
    tx.commit();
    return change;
}

std::optional<AccountChange<double>> MemberAccount::takePoints(double taken)
{
    Transaction tx(m_db);
    const double before = points();
    if (before < taken) {
        tx.commit(); // nothing written: not a failure of the operation
        return std::nullopt;
    }
    const AccountChange<double> change{before, before - taken};
    write("User_Num", change.after);
    tx.commit();
    return change;
}

AccountChange<double> MemberAccount::addSpending(double amount)
{
    Transaction tx(m_db);
    const double before = number("User_MoneyAll");
    const AccountChange<double> change{before, before + amount};
    write("User_MoneyAll", change.after);
    tx.commit();
    return change;
}
