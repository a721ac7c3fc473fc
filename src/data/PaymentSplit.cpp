#include "data/PaymentSplit.h"

QString CardLimitMessage(const QString &card, const QString &balance, const QString &due)
{
    return QStringLiteral("收付款方式中所输入的储值金额[") + card +
           QStringLiteral("]不能大于卡面金额[") + balance + QStringLiteral(" ]和应付金额[") + due +
           QStringLiteral("]!");
}
