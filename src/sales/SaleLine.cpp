#include "sales/SaleLine.h"

#include "data/Money.h"
#include "data/TextRules.h"

#include <cmath>

namespace SaleLine
{

namespace
{

// A number typed by the operator: only digits and points, and a value.
std::optional<double> TypedNumber(const QString &text)
{
    if (!IsNumberText(text))
        return std::nullopt;
    return ParseNumber(text);
}

long double RoundHalfEven(long double q)
{
    const long double lower = std::floor(q);
    const long double diff = q - lower;
    if (diff > 0.5L)
        return lower + 1;
    if (diff < 0.5L)
        return lower;
    return std::fmod(lower, 2.0L) == 0 ? lower : lower + 1;
}

} // namespace

double RoundTo(double value, int exponent)
{
    const double factor = std::pow(10.0, exponent);
    const long double quotient = static_cast<long double>(value) / factor;
    const long double whole = RoundHalfEven(quotient);
    return static_cast<double>(whole * static_cast<long double>(factor));
}

std::optional<QString> DiscountedPriceText(const QString &price, const QString &factor,
                                           int exponent)
{
    const std::optional<double> p = ParseNumber(price);
    const std::optional<double> f = ParseNumber(factor);
    if (!p || !f)
        return std::nullopt;
    return NumberText(RoundTo(*p * *f, exponent));
}

qint64 PointsPerUnit(double salePrice, int jifenSeting)
{
    const long double points =
        static_cast<long double>(salePrice) / 100.0L * static_cast<long double>(jifenSeting);
    if (!std::isfinite(static_cast<double>(points)))
        return 0;
    return static_cast<qint64>(std::trunc(points));
}

std::optional<QString> PointsPerUnitText(const QString &salePrice, int jifenSeting)
{
    const std::optional<double> price = TypedNumber(salePrice);
    if (!price)
        return std::nullopt;
    return QString::number(PointsPerUnit(*price, jifenSeting));
}

Check Validate(const SaleLineInput &in, bool memberShown, SaleScreenKind kind)
{
    const bool scan = kind == SaleScreenKind::Scan;
    const auto refuse = [](const char *message, const char *focus) {
        return Refusal{QString::fromUtf8(message), QString::fromLatin1(focus)};
    };
    if (!memberShown)
        return refuse("请先刷卡！", "UserCard");
    if (in.brand.isEmpty())
        return scan ? refuse("请先扫码！", "Edit1") : refuse("请选择品牌！", "ComboBox1");
    if (in.category.isEmpty())
        return refuse("请选择分类！", scan ? "Edit2" : "ComboBox2");
    if (in.daogou.isEmpty())
        return refuse("请选择导购！", "ComboBox3");
    if (in.store.isEmpty())
        return refuse("请选择店名！", "ComboBox4");
    if (in.name.isEmpty())
        return refuse("产品不能为空！", "EditProName");
    if (in.price.isEmpty())
        return refuse("价格不能为空！", "EditProPrice");
    if (IsNumberText(in.price) && Money::outOfRange(in.price))
        return Refusal{Money::OutOfRangeMessage(QStringLiteral("价格")),
                       QStringLiteral("EditProPrice")};
    const std::optional<double> price = TypedNumber(in.price);
    if (!price)
        return refuse("价格只能为数字!", "EditProPrice");
    if (in.salePrice.isEmpty())
        return refuse("打折价不能为空！", "EditProSalePrice");
    if (IsNumberText(in.salePrice) && Money::outOfRange(in.salePrice))
        return Refusal{Money::OutOfRangeMessage(QStringLiteral("打折价")),
                       QStringLiteral("EditProSalePrice")};
    const std::optional<double> salePrice = TypedNumber(in.salePrice);
    if (!salePrice)
        return refuse("打折价只能为数字!", "EditProSalePrice");
    if (*salePrice > *price)
        return refuse("打折价不能大于价格!", "EditProSalePrice");
    if (in.points.isEmpty())
        return refuse("积分不能为空！", "EditProJIfen");
    if (!TypedNumber(in.points))
        return refuse("积分只能为数字!", "EditProJIfen");
    if (in.quantity.isEmpty())
        return refuse("数量不能为空！", "EditProShuliang");
    bool ok = false;
    const int quantity = in.quantity.toInt(&ok);
    if (!IsDigitsText(in.quantity) || !ok || quantity < 1)
        return refuse("数量只能为正整数!", "EditProShuliang");
    if (!Money::parse(NumberText(*salePrice * quantity)))
        return Refusal{Money::OutOfRangeMessage(QStringLiteral("本行金额（打折价×数量）")),
                       QStringLiteral("EditProShuliang")};
    return std::nullopt;
}

SaleLineFigures Figures(const SaleLineInput &in)
{
    SaleLineFigures f;
    f.price = ParseNumber(in.price).value_or(0);
    f.salePrice = ParseNumber(in.salePrice).value_or(0);
    f.points = ParseNumber(in.points).value_or(0);
    f.quantity = in.quantity.toInt();
    f.amount = f.salePrice * f.quantity;
    f.linePoints = f.points * f.quantity;
    return f;
}

} // namespace SaleLine
