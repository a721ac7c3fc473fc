#include "data/ShopSettings.h"

#include "data/Database.h"

#include <QSqlRecord>

bool ShopSettings::load(Database &db)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM DataSeting LIMIT 1"));
    if (!q.next())
        return false;
    const auto integer = [&q](const char *column) { return q.value(column).toInt(); };
    const auto text = [&q](const char *column) { return q.value(column).toString().trimmed(); };
    CashSeting = integer("CashSeting");
    JifenSeting = integer("JifenSeting");
    JifenModiYesOrNo = integer("JifenModiYesOrNo");
    JinEModiYesOrNo = integer("JinEModiYesOrNo");
    PrintYesOrNo = integer("PrintYesOrNo");
    PrintBig = integer("PrintBig");
    Biaoti = text("Biaoti");
    piaowei1 = text("piaowei1");
    piaowei2 = text("piaowei2");
    piaowei3 = text("piaowei3");
    piaowei4 = text("piaowei4");
    piaowei5 = text("piaowei5");
    SaoMaYes = text("SaoMaYes");
    FEnabledCard = integer("FEnabledCard");
    FFloatNum = -integer("FFloatNum");
    if (q.record().indexOf(QStringLiteral("FHostDbPath")) >= 0)
        HostDbPath = text("FHostDbPath");
    return true;
}
