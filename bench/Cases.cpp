#include "Cases.h"

#include "Bench.h"
#include "Report.h"
#include "app/Login.h"
#include "app/MainRules.h"
#include "data/Database.h"
#include "data/ReportCriteria.h"
#include "data/ShopSettings.h"
#include "data/TextRules.h"
#include "members/Member.h"
#include "members/MemberCard.h"
#include "members/MemberRules.h"
#include "products/ProductQueries.h"
#include "reports/SalesStatistics.h"
#include "sales/Checkout.h"
#include "sales/OpenBill.h"
#include "sales/SaleLine.h"
#include "sales/SaleLists.h"
#include "sales/SaleReturn.h"
#include "settings/SettingsStore.h"
#include "wallet/Recharge.h"
#include "wallet/Redemption.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <stdexcept>

namespace
{

// What an operator types into the search boxes: short texts that match
// many members, rare ones, and texts that match nothing.
struct Typed {
    QString text;
    const char *note;
};

const QList<Typed> CardTexts = {
    {QStringLiteral("5"), "1 char"},
    {QStringLiteral("12"), "2 chars"},
    {QStringLiteral("123"), "3 chars"},
    {QStringLiteral("80012345"), "8 chars, one"},
    {QStringLiteral("88888888"), "8 chars, none"},
};

const QList<Typed> NameTexts = {
    {QStringLiteral("王"), "1 char, frequent"},
    {QStringLiteral("璇"), "1 char, rare"},
    {QStringLiteral("会员"), "2 chars"},
    {QStringLiteral("张伟"), "2 chars"},
    {QStringLiteral("李秀英"), "3 chars"},
    {QStringLiteral("欧阳王李张刘陈杨"), "8 chars, none"},
};

const QString SomeId = QStringLiteral("12345");
const QString SomeCard = QStringLiteral("80012345");

QString Quoted(const Typed &t)
{
    return QStringLiteral("\"%1\" (%2)").arg(t.text, QLatin1String(t.note));
}

qint64 Found(bool found)
{
    return found ? 1 : 0;
}

// The first value of a program list (a drop-down's first entry).
QVariant FirstOf(Database &db, const QuerySource &source, int column = 0)
{
    QSqlQuery q = db.exec(source.sql, source.binds);
    if (!q.next())
        throw std::runtime_error("empty list");
    return q.value(column);
}

// A page of the settings dialog reads its table through a QSqlTableModel
// ordered by the page's order (TOptionForm's list pages: table, order).
class SettingsPageModel : public QSqlTableModel
{
public:
    SettingsPageModel(const QSqlDatabase &db, const QString &order)
        : QSqlTableModel(nullptr, db), m_order(order)
    {
    }

protected:
    QString orderByClause() const override { return QStringLiteral("ORDER BY ") + m_order; }

private:
    QString m_order;
};

struct SettingsPage {
    const char *caption;
    const char *table;
    const char *order;
};

const QList<SettingsPage> SettingsPages = {
    {"操作员", "admin", "Admin_ID"},     {"导购", "SL_DaoGou", "DaoGouID"},
    {"店名", "SL_Store", "StoreID"},     {"品牌", "SL_Brand", "BrandID"},
    {"分类", "SL_ProSort", "ProSortID"}, {"折扣", "SL_Zhekou", "zhekouOrder, ZhekouID"},
};

} // namespace

Picks PickValues(Database &db)
{
    Picks p;
    QSqlQuery q = db.exec(QStringLiteral(
        "SELECT s.UserID, u.User_Card, COUNT(*) FROM S_Sale s JOIN User_Info u ON u.User_ID = "
        "s.UserID GROUP BY s.UserID ORDER BY 3 DESC, 1 LIMIT 1"));
    if (!q.next())
        throw std::runtime_error("no sales in the database");
    p.busyMember = q.value(0).toLongLong();
    p.busyCard = q.value(1).toString();
    p.busySale =
        db.scalar(QStringLiteral("SELECT MAX(SaleID) FROM S_Sale WHERE UserID = ?"), {p.busyMember})
            .toLongLong();
    p.busyLine = db.scalar(QStringLiteral("SELECT MIN(SaleDetailID) FROM S_SaleDetail WHERE "
                                          "SaleID = ? AND FReturnFlag = 0"),
                           {p.busySale})
                     .toLongLong();
    QSqlQuery payer = db.exec(QStringLiteral(
        "SELECT User_ID, User_Card FROM User_Info WHERE User_ChuZhi >= 200 AND User_Num >= 500 "
        "AND User_Stop = 0 AND User_Date > date('now', '+1 month') ORDER BY User_ID LIMIT 1"));
    if (!payer.next())
        throw std::runtime_error("no member to pay with");
    p.payer = payer.value(0).toLongLong();
    p.payerCard = payer.value(1).toString();
    return p;
}

void ReadCases(Bench &bench, const Picks &picks)
{
    using Lines = Bench::Lines;
    const QDateTime now = QDateTime::currentDateTime();

    Report::Group(QStringLiteral("Login (TLoginForm)"));
    bench.Plain(QStringLiteral("settings row (ShopSettings::load)"), [](Database &db) {
        ShopSettings settings;
        return Found(settings.load(db));
    });
    bench.Plain(QStringLiteral("log in admin (LogIn)"), [](Database &db) {
        LoginValues values;
        return Found(!LogIn(db, QStringLiteral("admin"), QStringLiteral("admin"), values));
    });

    Report::Group(QStringLiteral("Main window (TMain)"));
    bench.Plain(QStringLiteral("catalogue allowed? (ProductsRefusal)"),
                [](Database &db) { return Found(!ProductsRefusal(db)); });

    Report::Group(QStringLiteral("Member list (TMemberForm)"));
    bench.List(QStringLiteral("members by id"), MemberListSource(false));
    bench.List(QStringLiteral("members by amount spent"), MemberListSource(true));

    Report::Group(QStringLiteral("Member lookup (TFrmQueryUserInfo)"));
    bench.List(QStringLiteral("all"), MemberLookupSource(LookupFilter::All));
    for (const Typed &t : CardTexts)
        bench.List(QStringLiteral("card ") + Quoted(t),
                   MemberLookupSource(LookupFilter::Card, t.text));
    for (const Typed &t : NameTexts)
        bench.List(QStringLiteral("name ") + Quoted(t),
                   MemberLookupSource(LookupFilter::Name, t.text));
    bench.List(QStringLiteral("id ") + SomeId, MemberLookupSource(LookupFilter::Id, SomeId),
               Lines::AllRows);

    Report::Group(QStringLiteral("Consumption query (TViewForm)"));
    bench.Plain(QStringLiteral("member by card (FindNewestMember)"), [](Database &db) {
        return Found(FindNewestMember(db, MemberKey::Card, SomeCard).has_value());
    });
    bench.Plain(QStringLiteral("member by id (FindNewestMember)"), [](Database &db) {
        return Found(FindNewestMember(db, MemberKey::Id, SomeId).has_value());
    });
    for (const Typed &t : NameTexts.mid(0, 3)) {
        bench.Plain(QStringLiteral("newest member, name ") + Quoted(t), [&t](Database &db) {
            return Found(FindNewestMember(db, MemberKey::Name, t.text).has_value());
        });
    }
    for (const Typed &t : {NameTexts[0], NameTexts[1], NameTexts[2], NameTexts[5]})
        bench.List(QStringLiteral("matches, name ") + Quoted(t),
                   MemberMatchesSource(MatchKind::UserName, t.text));
    bench.List(QStringLiteral("matches, id ") + SomeId,
               MemberMatchesSource(MatchKind::UserID, SomeId), Lines::AllRows);
    bench.List(QStringLiteral("a member's sales"), MemberSalesSource(picks.busyMember),
               Lines::AllRows);
    bench.List(QStringLiteral("a sale's lines"), SaleLinesSource(picks.busySale), Lines::AllRows);
    bench.List(QStringLiteral("every sale line (全部导出)"), AllSaleLinesExportSource());

    Report::Group(QStringLiteral("Member sale screens (TSaleForm, TSale3Form)"));
    bench.List(QStringLiteral("brands"), SaleLists::Brands(), Lines::AllRows);
    bench.List(QStringLiteral("categories"), SaleLists::Categories(), Lines::AllRows);
    bench.List(QStringLiteral("shop assistants"), SaleLists::Daogou(), Lines::AllRows);
    bench.List(QStringLiteral("shops"), SaleLists::Shops(QStringLiteral("0")), Lines::AllRows);
    bench.Plain(QStringLiteral("discounts (LoadDiscounts)"),
                [](Database &db) { return qint64(SaleLists::LoadDiscounts(db).values.size()); });
    bench.Plain(QStringLiteral("card check (MemberCard::Check)"), [&now](Database &db) {
        return Found(
            MemberCard::Check(db, SomeCard, now, SaleScreenKind::Standard).member.has_value());
    });
    bench.List(QStringLiteral("open bill"), OpenBill::Statement(int(picks.payer)), Lines::AllRows);
    bench.Plain(QStringLiteral("open bill totals (OpenBill::TotalsOf)"), [&picks](Database &db) {
        return qint64(OpenBill::TotalsOf(db, int(picks.payer)).lines);
    });
    bench.Plain(QStringLiteral("product by code (ProductByCode)"), [](Database &db) {
        return Found(SaleLists::ProductByCode(db, QStringLiteral("6900000012345")).has_value());
    });

    Report::Group(QStringLiteral("Sales return (TFrmSaleReturn)"));
    bench.Plain(QStringLiteral("member by card (LoadMemberByCard)"), [&picks](Database &db) {
        return Found(LoadMemberByCard(db, picks.busyCard).has_value());
    });
    bench.List(QStringLiteral("no member shown"), SaleReturn::History(-1), Lines::AllRows);
    bench.List(QStringLiteral("a member's lines"), SaleReturn::History(picks.busyMember),
               Lines::AllRows);
    bench.Plain(QStringLiteral("a line to return (SaleReturn::Prepare)"), [&picks](Database &db) {
        return Found(std::holds_alternative<SaleReturn::Plan>(
            SaleReturn::Prepare(db, picks.busyMember, picks.busyLine)));
    });
    bench.List(QStringLiteral("returned lines (export)"), SaleReturn::ReturnedLinesExport(),
               Lines::AllRows);

    Report::Group(QStringLiteral("Recharge (TAddMoney_Frm)"));
    bench.List(QStringLiteral("stores"), Recharge::Stores(QStringLiteral("0")), Lines::AllRows);
    bench.List(QStringLiteral("every recharge"), Recharge::History());
    bench.List(QStringLiteral("one card's recharges"), Recharge::CardHistory(picks.payerCard),
               Lines::AllRows);
    bench.Plain(QStringLiteral("member by card (Recharge::FindCard)"), [&picks](Database &db) {
        return Found(Recharge::FindCard(db, picks.payerCard).has_value());
    });
    bench.Plain(QStringLiteral("next bill number (NextBillNo)"), [&now](Database &db) {
        return Found(!Recharge::NextBillNo(db, now.date()).isEmpty());
    });

    Report::Group(QStringLiteral("Points redemption (TCashForm)"));
    bench.List(QStringLiteral("every redemption"), Redemption::Records(0));
    bench.List(QStringLiteral("one member's redemptions"), Redemption::Records(picks.busyMember),
               Lines::AllRows);
    bench.Plain(QStringLiteral("member by card (Redemption::FindCard)"), [&picks](Database &db) {
        return Found(Redemption::FindCard(db, picks.payerCard).member.has_value());
    });

    Report::Group(QStringLiteral("Catalogue (TFPro2)"));
    bench.List(QStringLiteral("products on sale"), Pro2ListSource(Pro2ShownCondition(false)));
    bench.List(QStringLiteral("special prices"), Pro2ListSource(Pro2SpecialCondition()),
               Lines::AllRows);
    const QList<Pro2Search> searches = {
        {QStringLiteral("商品12"), QStringLiteral("产品名"), {}, {}, false},
        {QStringLiteral("690000001"), QStringLiteral("编码"), {}, {}, false},
        {QStringLiteral("SP123"), QStringLiteral("拼音首字母"), {}, {}, false},
    };
    for (const Pro2Search &s : searches)
        bench.List(QStringLiteral("search %1 \"%2\"").arg(s.field, s.keyword),
                   Pro2ListSource(Pro2SearchCondition(s)));

    Report::Group(QStringLiteral("Product search (TFrmGoodsQuery)"));
    bench.List(QStringLiteral("mode 1, every product"), GoodsQuerySource(QStringLiteral("1")));
    GoodsFilter byName;
    byName.name = QStringLiteral("商品12");
    bench.List(QStringLiteral("mode 1, name \"商品12\""),
               GoodsQuerySource(QStringLiteral("1"), byName));
    bench.List(QStringLiteral("mode 2, inventory goods"), GoodsQuerySource(QStringLiteral("2")),
               Lines::AllRows);

    Report::Group(QStringLiteral("Settings (TOptionForm)"));
    bench.Plain(QStringLiteral("stored settings (SettingsStore::readStored)"), [](Database &db) {
        ShopSettings session;
        SettingsStore store(db, session);
        store.readStored();
        return qint64(1);
    });
    for (const SettingsPage &page : SettingsPages) {
        bench.Plain(QStringLiteral("page %1 (QSqlTableModel)").arg(QString::fromUtf8(page.caption)),
                    [&page](Database &db) {
                        SettingsPageModel model(db.handle(), QString::fromLatin1(page.order));
                        model.setTable(QString::fromLatin1(page.table));
                        if (!model.select())
                            throw DbError(model.lastError());
                        while (model.canFetchMore())
                            model.fetchMore();
                        return qint64(model.rowCount());
                    });
    }

    Report::Group(QStringLiteral("Sales statistics (TFTongji)"));
    const QDate lastDay = now.date();
    for (const bool narrowed : {false, true}) {
        // A year to today; everything, or one shop and one operator.
        ReportCriteria year{lastDay.addYears(-1).addDays(1), lastDay,
                            narrowed ? QStringLiteral("总店") : AllChoice,
                            narrowed ? QStringLiteral("admin") : AllChoice};
        year.refuseReversed = false;
        const QString scope = narrowed ? QStringLiteral(", one shop and operator") : QString();
        for (const SalesStatistics::Mode mode :
             {SalesStatistics::Mode::Sales, SalesStatistics::Mode::Recharges}) {
            const QString what = mode == SalesStatistics::Mode::Sales ? QStringLiteral("sales")
                                                                      : QStringLiteral("recharges");
            bench.Plain(QStringLiteral("totals of a year's %1%2 (Compute)").arg(what, scope),
                        [year, mode](Database &db) {
                            SalesStatistics::Compute(db, year, mode);
                            return qint64(1);
                        });
            bench.Plain(QStringLiteral("chart of a year's %1%2 (ComputeChart)").arg(what, scope),
                        [year, mode](Database &db) {
                            return qint64(
                                SalesStatistics::ComputeChart(db, year, mode).periods.size());
                        });
        }
        bench.List(QStringLiteral("a year's sales") + scope,
                   SalesStatistics::SaleList(bench.db(), year));
        bench.List(QStringLiteral("a year's sale lines") + scope,
                   SalesStatistics::LineList(bench.db(), year));
        bench.List(QStringLiteral("a year's recharges") + scope,
                   SalesStatistics::RechargeList(bench.db(), year));
    }
    bench.List(QStringLiteral("shop names (every shop)"), SalesStatistics::ShopNames(),
               Lines::AllRows);
    bench.List(QStringLiteral("shop assistant names"), SalesStatistics::SalesPersonNames(),
               Lines::AllRows);

    Report::Group(QStringLiteral("Report criteria bar"));
    bench.List(QStringLiteral("shop names"), ReportShopNames(), Lines::AllRows);
    bench.List(QStringLiteral("operator names"), ReportOperatorNames(), Lines::AllRows);
}

void WriteCases(Bench &bench, Database &scratch, const Picks &picks)
{
    const QDateTime now = QDateTime::currentDateTime();
    ShopSettings settings;
    settings.load(scratch);
    const QString store = FirstOf(scratch, SaleLists::Shops(QStringLiteral("0"))).toString();
    const QString brand = FirstOf(scratch, SaleLists::Brands()).toString();
    const QString category = FirstOf(scratch, SaleLists::Categories()).toString();
    const QString daogou = FirstOf(scratch, SaleLists::Daogou()).toString();
    const int member = int(picks.payer);

    // One item as the sale screen fills it: list price, the discounted price
    // and the points per unit computed from the discount and the settings.
    const auto item = [&](int n) {
        SaleLineInput in;
        in.brand = brand;
        in.category = category;
        in.daogou = daogou;
        in.store = store;
        in.name = QStringLiteral("商品%1").arg(n + 1);
        in.price = QString::number(10 + n * 3);
        in.salePrice =
            SaleLine::DiscountedPriceText(in.price, QStringLiteral("0.9"), settings.FFloatNum)
                .value_or(in.price);
        in.points = SaleLine::PointsPerUnitText(in.salePrice, settings.JifenSeting)
                        .value_or(QStringLiteral("0"));
        in.quantity = QString::number(1 + n % 3);
        in.remark = n % 4 == 0 ? QStringLiteral("少辣") : QString();
        return in;
    };
    const auto addLine = [&](int n) {
        const SaleLineInput in = item(n);
        if (const Check refusal = SaleLine::Validate(in, true, SaleScreenKind::Standard))
            throw std::runtime_error(refusal->message.toStdString());
        return OpenBill::AddLine(scratch, member, 1, in, SaleLine::Figures(in));
    };

    Report::Group(QStringLiteral("Writing operations (scratch copy, synchronous=FULL)"));
    bench.Write(
        QStringLiteral("add an open-bill line (OpenBill::AddLine)"), scratch,
        [&] { OpenBill::Abandon(scratch, member); }, [&] { return Found(addLine(0) > 0); });
    // The screen shows the bill (its totals) before the payment dialog runs
    // the checkout.
    CheckoutRequest checkout;
    bench.Write(
        QStringLiteral("checkout of a 20-line bill (Checkout::Run)"), scratch,
        [&] {
            OpenBill::Abandon(scratch, member);
            for (int n = 0; n < 20; ++n)
                addLine(n);
            checkout.memberId = member;
            checkout.shopName = store;
            checkout.bill = OpenBill::TotalsOf(scratch, member);
            const Money due = *Money::parse(TotalText(checkout.bill.amount));
            checkout.stored = *Money::parse(QStringLiteral("1"));
            checkout.cash = due - checkout.stored;
            checkout.adminId = 1;
            checkout.now = now;
        },
        [&] {
            const CheckoutResult done = Checkout(scratch).Run(checkout);
            if (done.refusal)
                throw std::runtime_error(done.refusal->message.toStdString());
            return qint64(checkout.bill.lines);
        });
    const int storeId = FirstOf(scratch, Recharge::Stores(QStringLiteral("0"))).toInt();
    bench.Write(
        QStringLiteral("recharge (Recharge::Run)"), scratch, [] {},
        [&] {
            RechargeRequest r;
            r.memberId = member;
            r.storeId = storeId;
            r.amount = *Money::parse(QStringLiteral("100"));
            r.maker = QStringLiteral("admin");
            r.adminId = 1;
            r.now = now;
            const RechargeResult done = Recharge(scratch).Run(r);
            if (done.refusal)
                throw std::runtime_error(done.refusal->message.toStdString());
            return Found(done.recordId > 0);
        });
    // The window checks the entry against the member it shows, then writes.
    EntryCheck entry;
    bench.Write(
        QStringLiteral("points redemption (Redemption::Run)"), scratch,
        [&] {
            const std::optional<Member> m = LoadMember(scratch, member);
            entry = Redemption::CheckConfirmation({QStringLiteral("保温杯"), QStringLiteral("50"),
                                                   QStringLiteral("1"), QStringLiteral("49"),
                                                   QString()},
                                                  m ? m->points : 0);
            if (entry.refusal)
                throw std::runtime_error(entry.refusal->message.toStdString());
        },
        [&] {
            RedemptionRequest r;
            r.memberId = member;
            r.entry = entry.entry;
            r.admin = QStringLiteral("admin");
            r.now = now;
            const RedemptionResult done = Redemption(scratch).Run(r);
            if (done.refusal)
                throw std::runtime_error(done.refusal->message.toStdString());
            return Found(done.cashId > 0);
        });
}
