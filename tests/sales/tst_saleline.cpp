#include "data/TextRules.h"
#include "sales/SaleLine.h"

#include <QtTest>

// The rules of one bill line: discount rounding, points per unit,
// validation in the screen's order, and the line's figures.
class TestSaleLine : public QObject
{
    Q_OBJECT
private slots:
    void discountedPrice_data();
    void discountedPrice();
    void pointsPerUnit_data();
    void pointsPerUnit();
    void validate_data();
    void validate();
    void figuresInDoublePrecision();
    void priceKeys_data();
    void priceKeys();
};

void TestSaleLine::discountedPrice_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<int>("exponent"); // the held (negated) FFloatNum
    QTest::addColumn<QString>("expected");
    QTest::newRow("100 x 0.85, whole") << "100"
                                       << "0.85" << 0 << "85";
    QTest::newRow("half down to even") << "2.5"
                                       << "1" << 0 << "2";
    QTest::newRow("half up to even") << "3.5"
                                     << "1" << 0 << "4";
    QTest::newRow("0.5 to even zero") << "0.5"
                                      << "1" << 0 << "0";
    QTest::newRow("two decimals") << "19.9"
                                  << "0.9" << -2 << "17.91";
    QTest::newRow("cent half to even") << "0.125"
                                       << "1" << -2 << "0.12";
    // The factor 0.01 is a binary double a little above 0.01: a decimal half
    // divided by it falls just below the half.
    QTest::newRow("cent half over binary factor") << "0.375"
                                                  << "1" << -2 << "0.37";
    QTest::newRow("below half") << "99.99"
                                << "0.85" << -2 << "84.99";
    QTest::newRow("one decimal") << "10"
                                 << "0.95" << -1 << "9.5";
    QTest::newRow("whole number shows no point") << "100"
                                                 << "0.9" << -2 << "90";
    QTest::newRow("trailing zero dropped") << "95"
                                           << "0.9" << -2 << "85.5";
    QTest::newRow("price not a number") << "."
                                        << "1" << -2 << "";
    QTest::newRow("no discount") << "10"
                                 << "" << -2 << "";
}

void TestSaleLine::discountedPrice()
{
    QFETCH(QString, price);
    QFETCH(QString, factor);
    QFETCH(int, exponent);
    QFETCH(QString, expected);
    QCOMPARE(SaleLine::DiscountedPriceText(price, factor, exponent).value_or(QString()), expected);
}

void TestSaleLine::pointsPerUnit_data()
{
    QTest::addColumn<QString>("salePrice");
    QTest::addColumn<int>("jifenSeting");
    QTest::addColumn<QString>("expected"); // empty: not a number
    QTest::newRow("25 at 10 per 100") << "25" << 10 << "2";
    QTest::newRow("9.99 earns nothing") << "9.99" << 10 << "0";
    QTest::newRow("199 at 1 per 100") << "199" << 1 << "1";
    QTest::newRow("no points set") << "199" << 0 << "0";
    QTest::newRow("exact multiple 30") << "30" << 10 << "3";
    QTest::newRow("exact multiple 70") << "70" << 10 << "7";
    QTest::newRow("exact 12.5 at 8") << "12.5" << 8 << "1";
    QTest::newRow("just below a point") << "99.99" << 100 << "99";
    QTest::newRow("two points") << "1.2.3" << 10 << "";
    QTest::newRow("letters") << "12a" << 10 << "";
    QTest::newRow("lone point") << "." << 10 << "";
}

void TestSaleLine::pointsPerUnit()
{
    QFETCH(QString, salePrice);
    QFETCH(int, jifenSeting);
    QFETCH(QString, expected);
    QCOMPARE(SaleLine::PointsPerUnitText(salePrice, jifenSeting).value_or(QString()), expected);
}

void TestSaleLine::validate_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("memberShown");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QString>("focus");
    const int std = int(SaleScreenKind::Standard);
    const int scan = int(SaleScreenKind::Scan);

    QTest::newRow("valid") << std << true << ""
                           << ""
                           << ""
                           << "";
    QTest::newRow("no member before empty brand") << std << false << "brand"
                                                  << ""
                                                  << "请先刷卡！"
                                                  << "UserCard";
    QTest::newRow("brand") << std << true << "brand"
                           << ""
                           << "请选择品牌！"
                           << "ComboBox1";
    QTest::newRow("scan: brand means not scanned") << scan << true << "brand"
                                                   << ""
                                                   << "请先扫码！"
                                                   << "Edit1";
    QTest::newRow("category") << std << true << "category"
                              << ""
                              << "请选择分类！"
                              << "ComboBox2";
    QTest::newRow("scan: category") << scan << true << "category"
                                    << ""
                                    << "请选择分类！"
                                    << "Edit2";
    QTest::newRow("daogou") << std << true << "daogou"
                            << ""
                            << "请选择导购！"
                            << "ComboBox3";
    QTest::newRow("store") << scan << true << "store"
                           << ""
                           << "请选择店名！"
                           << "ComboBox4";
    QTest::newRow("name") << std << true << "name"
                          << ""
                          << "产品不能为空！"
                          << "EditProName";
    QTest::newRow("price empty") << std << true << "price"
                                 << ""
                                 << "价格不能为空！"
                                 << "EditProPrice";
    QTest::newRow("price letters") << std << true << "price"
                                   << "12a"
                                   << "价格只能为数字!"
                                   << "EditProPrice";
    QTest::newRow("price two points") << std << true << "price"
                                      << "1.2.3"
                                      << "价格只能为数字!"
                                      << "EditProPrice";
    QTest::newRow("price lone point") << std << true << "price"
                                      << "."
                                      << "价格只能为数字!"
                                      << "EditProPrice";
    QTest::newRow("sale price empty") << std << true << "salePrice"
                                      << ""
                                      << "打折价不能为空！"
                                      << "EditProSalePrice";
    QTest::newRow("sale price not number") << std << true << "salePrice"
                                           << "8,5"
                                           << "打折价只能为数字!"
                                           << "EditProSalePrice";
    QTest::newRow("sale price above list price") << std << true << "salePrice"
                                                 << "100.01"
                                                 << "打折价不能大于价格!"
                                                 << "EditProSalePrice";
    QTest::newRow("sale price equal to list price") << std << true << "salePrice"
                                                    << "100"
                                                    << ""
                                                    << "";
    QTest::newRow("points empty") << std << true << "points"
                                  << ""
                                  << "积分不能为空！"
                                  << "EditProJIfen";
    QTest::newRow("points negative") << std << true << "points"
                                     << "-1"
                                     << "积分只能为数字!"
                                     << "EditProJIfen";
    QTest::newRow("quantity empty") << std << true << "quantity"
                                    << ""
                                    << "数量不能为空！"
                                    << "EditProShuliang";
    QTest::newRow("quantity zero") << std << true << "quantity"
                                   << "0"
                                   << "数量只能为正整数!"
                                   << "EditProShuliang";
    QTest::newRow("quantity fraction") << std << true << "quantity"
                                       << "1.5"
                                       << "数量只能为正整数!"
                                       << "EditProShuliang";
    QTest::newRow("quantity negative") << scan << true << "quantity"
                                       << "-1"
                                       << "数量只能为正整数!"
                                       << "EditProShuliang";
    QTest::newRow("quantity leading zeros") << std << true << "quantity"
                                            << "007"
                                            << ""
                                            << "";
    const QString range = "超出范围：金额最大为100000000000，最多4位小数，请重新输入！";
    QTest::newRow("price beyond the largest amount") << std << true << "price"
                                                     << "100000000000000000000"
                                                     << "价格" + range << "EditProPrice";
    QTest::newRow("sale price with five decimals") << std << true << "salePrice"
                                                   << "1.00001"
                                                   << "打折价" + range << "EditProSalePrice";
    QTest::newRow("line amount beyond the largest")
        << std << true << "quantity"
        << "2000000000"
        << "本行金额（打折价×数量）" + range << "EditProShuliang";
}

void TestSaleLine::validate()
{
    QFETCH(int, kind);
    QFETCH(bool, memberShown);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    SaleLineInput in{QStringLiteral("招牌菜"),   QStringLiteral("热菜"),
                     QStringLiteral("张丽"),     QStringLiteral("总店"),
                     QStringLiteral("宫保鸡丁"), QStringLiteral("100"),
                     QStringLiteral("85"),       QStringLiteral("8"),
                     QStringLiteral("2"),        QString()};
    QHash<QString, QString *> fields{
        {"brand", &in.brand},         {"category", &in.category}, {"daogou", &in.daogou},
        {"store", &in.store},         {"name", &in.name},         {"price", &in.price},
        {"salePrice", &in.salePrice}, {"points", &in.points},     {"quantity", &in.quantity}};
    if (!field.isEmpty())
        *fields.value(field) = value;

    const Check refusal = SaleLine::Validate(in, memberShown, SaleScreenKind(kind));
    QCOMPARE(refusal.has_value(), !message.isEmpty());
    if (refusal) {
        QCOMPARE(refusal->message, message);
        QCOMPARE(refusal->focus, focus);
    }
}

void TestSaleLine::figuresInDoublePrecision()
{
    const SaleLineInput in{QStringLiteral("b"),    QStringLiteral("c"),
                           QStringLiteral("d"),    QStringLiteral("s"),
                           QStringLiteral("n"),    QStringLiteral("19.9"),
                           QStringLiteral("19.9"), QStringLiteral("2.5"),
                           QStringLiteral("3"),    QString()};
    const SaleLineFigures f = SaleLine::Figures(in);
    QCOMPARE(f.quantity, 3);
    // Single precision would store 59.7000007629...; the line keeps the double.
    QCOMPARE(f.amount, 19.9 * 3);
    QVERIFY(qAbs(f.amount - 59.7) < 1e-12);
    QVERIFY(f.amount != double(float(19.9f) * 3.0f));
    QCOMPARE(f.linePoints, 7.5);
    QCOMPARE(NumberText(f.amount), QStringLiteral("59.7"));
    QCOMPARE(TotalText(f.amount), QStringLiteral("59.70"));
}

void TestSaleLine::priceKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("digit") << "12"
                           << "3" << true;
    QTest::newRow("first point") << "12"
                                 << "." << true;
    QTest::newRow("second point") << "1.2"
                                  << "." << false;
    QTest::newRow("letter") << "12"
                            << "a" << false;
    QTest::newRow("minus") << ""
                           << "-" << false;
    QTest::newRow("backspace") << "1.2"
                               << "\b" << true;
    QTest::newRow("full-width digit") << ""
                                      << "１" << false;
}

void TestSaleLine::priceKeys()
{
    QFETCH(QString, text);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QCOMPARE(AcceptsAmountKey(text, typed.at(0)), accepted);
}

QTEST_GUILESS_MAIN(TestSaleLine)
#include "tst_saleline.moc"
