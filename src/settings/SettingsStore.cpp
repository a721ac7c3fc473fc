#include "settings/SettingsStore.h"

#include "data/Database.h"
#include "data/TextRules.h"

#include <QFileInfo>

namespace
{

// A whole number of at most nine digits; nothing for anything else
// (empty, decimals, signs, blanks inside).
std::optional<int> wholeNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 9 || !IsDigitsText(text))
        return std::nullopt;
    return text.toInt();
}

// Qt binds a null text as NULL; the settings' text columns hold '' instead.
QString textValue(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

SettingsStore::SettingsStore(Database &db, ShopSettings &session) : m_db(db), m_session(session) {}

StoredSettings SettingsStore::readStored()
{
    StoredSettings stored;
    QSqlQuery q = m_db.exec(QStringLiteral(
        "SELECT SaoMaYes, FEnabledCard, FPrintCount, FHostDbPath FROM DataSeting LIMIT 1"));
    if (q.next()) {
        stored.SaoMaYes = q.value(0).toString().trimmed();
        stored.FEnabledCard = q.value(1).toString().trimmed();
        stored.FPrintCount = q.value(2).toInt();
        stored.HostDbPath = q.value(3).toString().trimmed();
    }
    return stored;
}

void SettingsStore::ensureRow()
{
    if (m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM DataSeting")).toInt() == 0)
        m_db.exec(QStringLiteral("INSERT INTO DataSeting DEFAULT VALUES"));
}

Check SettingsStore::saveBasic(const BasicSettingsForm &form)
{
    const std::optional<int> threshold = wholeNumber(form.threshold.trimmed());
    if (!threshold)
        return Refusal{QStringLiteral("兑分设置只能是数字"), QStringLiteral("Edit1")};
    const std::optional<int> points = wholeNumber(form.points.trimmed());
    if (!points)
        return Refusal{QStringLiteral("积分设置只能是数字"), QStringLiteral("Edit2")};
    const QString decimalsText = form.decimals.trimmed();
    if (decimalsText != QLatin1String("0") && decimalsText != QLatin1String("1") &&
        decimalsText != QLatin1String("2"))
        return Refusal{QStringLiteral("保留小数位只能是0、1或2"), QStringLiteral("edtFloatNum")};
    const int decimals = decimalsText.toInt();

    QString mode = QStringLiteral("0");
    if (form.scanning) {
        mode = form.scanMode;
        if (mode != QLatin1String("2") && mode != QLatin1String("3"))
            mode = QStringLiteral("1");
    }
    const QString hostDbPath = textValue(form.hostDbPath.trimmed());
    if (mode == QLatin1String("3") && !QFileInfo(hostDbPath).isFile())
        return Refusal{QStringLiteral("请指定第三方软件的数据库文件！"),
                       QStringLiteral("edtHostDbPath")};
    const int pointsEditable = form.pointsEditable ? 1 : 0;
    const int amountEditable = form.amountEditable ? 1 : 0;
    const int cardPassword = form.cardPassword ? 1 : 0;

    Transaction transaction(m_db);
    ensureRow();
    m_db.update(QStringLiteral("UPDATE DataSeting SET CashSeting = ?, JifenSeting = ?, "
                               "JifenModiYesOrNo = ?, JinEModiYesOrNo = ?, FFloatNum = ?, "
                               "SaoMaYes = ?, FEnabledCard = ?, FHostDbPath = ?"),
                {*threshold, *points, pointsEditable, amountEditable, decimals, mode, cardPassword,
                 hostDbPath});
    transaction.commit();

    m_session.CashSeting = *threshold;
    m_session.JifenSeting = *points;
    m_session.JifenModiYesOrNo = pointsEditable;
    m_session.JinEModiYesOrNo = amountEditable;
    m_session.SaoMaYes = mode;
    m_session.FEnabledCard = cardPassword;
    m_session.FFloatNum = -decimals;
    m_session.HostDbPath = hostDbPath;
    return std::nullopt;
}

Check SettingsStore::savePrint(const PrintSettingsForm &form)
{
    const int autoPrint = form.autoPrint ? 1 : 0;
    const int width = form.narrowPaper ? 1 : 2;
    std::optional<int> copies;
    if (form.autoPrint) {
        copies = wholeNumber(form.copies.trimmed());
        if (!copies || *copies < 1)
            return Refusal{QStringLiteral("默认打印份数只能是大于0的数字"),
                           QStringLiteral("edt_PrintCount")};
    }
    const QString title = textValue(form.title);
    QStringList footers;
    for (int i = 0; i < 5; ++i)
        footers << textValue(form.footers.value(i));

    Transaction transaction(m_db);
    ensureRow();
    QVariantList binds = {autoPrint, width, title};
    for (int i = 0; i < 5; ++i)
        binds << footers[i];
    QString sql = QStringLiteral("UPDATE DataSeting SET PrintYesOrNo = ?, PrintBig = ?, "
                                 "Biaoti = ?, piaowei1 = ?, piaowei2 = ?, piaowei3 = ?, "
                                 "piaowei4 = ?, piaowei5 = ?");
    if (copies) {
        sql += QStringLiteral(", FPrintCount = ?");
        binds << *copies;
    }
    m_db.update(sql, binds);
    transaction.commit();

    m_session.PrintYesOrNo = autoPrint;
    m_session.PrintBig = width;
    m_session.Biaoti = title;
    m_session.piaowei1 = footers[0];
    m_session.piaowei2 = footers[1];
    m_session.piaowei3 = footers[2];
    m_session.piaowei4 = footers[3];
    m_session.piaowei5 = footers[4];
    return std::nullopt;
}
