#pragma once

#include "data/Refusal.h"
#include "members/MemberCard.h"

#include <QString>
#include <optional>

// What the item entry of a sale screen holds when 加入购买 is pressed, as
// the texts of its lists and fields (not trimmed).
struct SaleLineInput {
    QString brand;     // 品牌
    QString category;  // 分类
    QString daogou;    // 导购
    QString store;     // 店名
    QString name;      // 产品
    QString price;     // 价格 (list price)
    QString salePrice; // 打折价 (discounted price)
    QString points;    // 积分 (points per unit)
    QString quantity;  // 数量
    QString remark;    // 备注
};

// The numbers of a line that passed validation. Everything is held in
// double precision; the line amount and line points are the unit values
// times the quantity.
struct SaleLineFigures {
    double price = 0;
    double salePrice = 0;
    double points = 0;
    int quantity = 0;
    double amount = 0;
    double linePoints = 0;
};

// The rules of one bill line on the member sale screens.
namespace SaleLine
{

// Rounds to a multiple of 10^exponent (exponent -2 keeps two decimals):
// the value is divided by the factor in extended precision, rounded to the
// nearest integer with exact halves to the even neighbour, and multiplied
// back.
double RoundTo(double value, int exponent);

// The discounted price shown for a list price and a discount factor (texts
// of the price field and the discount list), rounded by RoundTo. Nothing
// when either text is not a number.
std::optional<QString> DiscountedPriceText(const QString &price, const QString &factor,
                                           int exponent);

// Points per unit: trunc(discounted price / 100 * points per 100 units),
// evaluated in extended precision.
qint64 PointsPerUnit(double salePrice, int jifenSeting);
// The same from the discounted price field's text; nothing when the text
// is not a number.
std::optional<QString> PointsPerUnitText(const QString &salePrice, int jifenSeting);

// Checks the item before it is added, in the screen's order, stopping at
// the first failure with its message and the control to focus.
Check Validate(const SaleLineInput &input, bool memberShown, SaleScreenKind kind);

// The figures of a validated line.
SaleLineFigures Figures(const SaleLineInput &input);

} // namespace SaleLine
