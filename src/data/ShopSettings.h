#pragma once

#include <QString>

class Database;

// The shop's settings row (DataSeting) as the running program holds it.
// FFloatNum is held negated: it is the decimal exponent of the sale
// screens' rounding (-2 keeps two decimals).
struct ShopSettings {
    int CashSeting = 0;
    int JifenSeting = 0;
    int JifenModiYesOrNo = 0;
    int JinEModiYesOrNo = 0;
    int PrintYesOrNo = 0;
    int PrintBig = 1;
    QString Biaoti;
    QString piaowei1, piaowei2, piaowei3, piaowei4, piaowei5;
    QString SaoMaYes = QStringLiteral("0");
    int FEnabledCard = 0;
    int FFloatNum = -2;
    // File of the host system's database for sale mode "3".
    QString HostDbPath;

    // Reads the settings row into this record. Without a row the values
    // stay as they were and false is returned. Throws DbError when the
    // table cannot be read.
    bool load(Database &db);
};
