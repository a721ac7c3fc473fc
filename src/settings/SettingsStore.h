#pragma once

#include "data/Refusal.h"
#include "data/ShopSettings.h"

#include <QString>
#include <QStringList>

class Database;

// What the settings dialog's page 基本设置 holds when 确定 is pressed.
struct BasicSettingsForm {
    QString threshold;           // 兑分设置 (CashSeting)
    QString points;              // 积分设置 (JifenSeting)
    bool pointsEditable = false; // 积分修改: 可以修改
    bool amountEditable = true;  // 销售金额修改: 可以修改
    QString decimals;            // 保留小数位: 0, 1 or 2
    bool scanning = false;       // 消费时，启用扫码功能
    QString scanMode; // with scanning: "1" 独立软件, "2" 进销存前台, "3" 第三方前台
    bool cardPassword = false; // 是否启用卡密码
    QString hostDbPath;        // the host system's database file, for mode "3"
};

// What the page 打印设置 holds.
struct PrintSettingsForm {
    bool autoPrint = false;  // 消费收款后，自动打印小票
    bool narrowPaper = true; // 58 mm (else 80 mm)
    QString copies;          // 默认打印份数
    QString title;           // 标题
    QStringList footers;     // 票尾1 to 票尾5
};

// The values of the settings row the dialog shows beside the session's.
struct StoredSettings {
    QString SaoMaYes;
    QString FEnabledCard;
    int FPrintCount = 1;
    QString HostDbPath;
};

// Reads and writes the shop's settings row and keeps the running program's
// values (the session's ShopSettings) in step with what was written.
class SettingsStore
{
public:
    SettingsStore(Database &db, ShopSettings &session);

    // Throws DbError.
    StoredSettings readStored();

    // Checks and writes the basic settings; the session takes the new values
    // at once. Returns the refusal (nothing written) or nothing. Throws DbError.
    Check saveBasic(const BasicSettingsForm &form);
    // The same for the print settings. While automatic printing is off the
    // stored number of copies keeps its value.
    Check savePrint(const PrintSettingsForm &form);

private:
    // Makes sure the one settings row exists (a damaged database may lack it).
    void ensureRow();

    Database &m_db;
    ShopSettings &m_session;
};
