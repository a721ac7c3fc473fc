#include "data/Database.h"
#include "members/MemberFixture.h"
#include "members/MemberRules.h"
#include "support/TestDatabase.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>
#include <functional>

using namespace MemberFixture;

// Checking, storing, editing and deleting member cards; the lists the member
// windows show.
class TestMemberRules : public QObject
{
    Q_OBJECT
private slots:
    void issueRefusals_data();
    void issueRefusals();
    void issueStoresCardWithDefaults();
    void issueWithoutPasswordsWritesNoPassword();
    void saveRefusals_data();
    void saveRefusals();
    void saveWritesEveryField_data();
    void saveWritesEveryField();
    void saveOfMissingMemberIsNoSuccess();
    void deleteRemovesOnlyTheMemberRow();
    void memberListOrders();
    void lookupFilters_data();
    void lookupFilters();
    void newestMemberFound_data();
    void newestMemberFound();
    void saleLinesShowReturnsPositive();
    void parseStoredDate_data();
    void parseStoredDate();
};

using Edit = std::function<void(MemberFields &)>;
Q_DECLARE_METATYPE(Edit)

namespace
{
const QDateTime Now(QDate(2024, 3, 5), QTime(9, 7, 2));

QStringList column(Database &db, const QuerySource &source, const QString &title)
{
    QSqlQuery q = db.exec(source.sql, source.binds);
    QStringList out;
    while (q.next())
        out << q.value(title).toString();
    return out;
}
} // namespace

void TestMemberRules::issueRefusals_data()
{
    QTest::addColumn<bool>("passwords");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const auto row = [](const char *name, bool pw, Edit e, const QString &message,
                        const char *focus) {
        QTest::newRow(name) << pw << e << message << QString::fromLatin1(focus);
    };
    row(
        "empty card", false, [](MemberFields &f) { f.card = QStringLiteral("  "); },
        QStringLiteral("卡号不能为空！"), "UserCard");
    row(
        "empty name", false, [](MemberFields &f) { f.name.clear(); },
        QStringLiteral("姓名不能为空！"), "UserName");
    row(
        "no sex chosen", false, [](MemberFields &f) { f.sex.clear(); },
        QStringLiteral("请选择性别！"), "UserSex");
    row(
        "first password empty", true, [](MemberFields &f) { f.password = QStringLiteral(" "); },
        QStringLiteral("卡密码不能为空!"), "edt_FirstPwd");
    row(
        "only confirmation empty", true, [](MemberFields &f) { f.confirmPassword.clear(); },
        QStringLiteral("确认密码不能为空!"), "edt_ConfirmPwd");
    row(
        "passwords differ", true,
        [](MemberFields &f) { f.confirmPassword = QStringLiteral("124"); },
        QStringLiteral("两次输入的卡密码不一致!"), "edt_ConfirmPwd");
    row(
        "year without month and day", false,
        [](MemberFields &f) { f.month.clear(), f.day.clear(); }, MemberText::BadBirthDate,
        "UserYear");
    row(
        "1980-2-30", false, [](MemberFields &f) { f.day = QStringLiteral("30"); },
        MemberText::BadBirthDate, "UserDay");
    row(
        "month 13", false, [](MemberFields &f) { f.month = QStringLiteral("13"); },
        MemberText::BadBirthDate, "UserDay");
    row(
        "day not a number", false, [](MemberFields &f) { f.day = QStringLiteral("x"); },
        MemberText::BadBirthDate, "UserDay");
    row(
        "expiry today", false, [](MemberFields &f) { f.expiry = Now.date(); },
        QStringLiteral("有效日期不能小于建卡当前日期!"), "dtp_CardDate");
    row(
        "expiry yesterday", false, [](MemberFields &f) { f.expiry = Now.date().addDays(-1); },
        QStringLiteral("有效日期不能小于建卡当前日期!"), "dtp_CardDate");
    row(
        "card in use", false, [](MemberFields &f) { f.card = QStringLiteral("1001"); },
        MemberText::CardTaken, "UserCard");
    row(
        "card in use, typed with blanks", false,
        [](MemberFields &f) { f.card = QStringLiteral(" 1001 "); }, MemberText::CardTaken,
        "UserCard");
}

void TestMemberRules::issueRefusals()
{
    QFETCH(bool, passwords);
    QFETCH(Edit, edit);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDatabase t;
    addMember(t.db, QStringLiteral("1001"), QStringLiteral("王建国"));
    MemberFields f = goodFields();
    edit(f);

    const Check refusal = IssueCard(t.db, f, passwords, Now);
    QVERIFY(refusal);
    QCOMPARE(refusal->message, message);
    QCOMPARE(refusal->focus, focus);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Info")).toInt(), 1);
}

void TestMemberRules::issueStoresCardWithDefaults()
{
    TestDatabase t;
    MemberFields f = goodFields();
    f.card = QStringLiteral(" 2001 ");
    f.name = QStringLiteral("O'Neil");
    f.other = QStringLiteral("likes 'hot' food");
    f.password = QStringLiteral(" pw1 ");
    f.confirmPassword = QStringLiteral("pw1  ");
    f.locked = true;
    f.expiry = Now.date().addDays(1);
    QVERIFY(!IssueCard(t.db, f, true, Now));

    QSqlQuery q = t.db.exec(QStringLiteral("SELECT * FROM User_Info"));
    QVERIFY(q.next());
    const QSqlRecord r = q.record();
    QCOMPARE(r.value("User_Card").toString(), QStringLiteral("2001"));
    QCOMPARE(r.value("User_Name").toString(), QStringLiteral("O’Neil"));
    QCOMPARE(r.value("User_Other").toString(), QStringLiteral("likes ’hot’ food"));
    QCOMPARE(r.value("User_Brithday").toString(), QStringLiteral("1980-2-29"));
    QCOMPARE(r.value("User_Date").toString(), QStringLiteral("2024-03-06"));
    QCOMPARE(r.value("User_Stop").toInt(), 1);
    QCOMPARE(r.value("User_CardPWD").toString(), QStringLiteral("pw1"));
    QCOMPARE(r.value("User_Xiaofei").toString(), QStringLiteral("y"));
    QCOMPARE(r.value("User_Sex").toString(), QStringLiteral("男"));
    QCOMPARE(r.value("User_LikeColor").toString(), QStringLiteral("清淡"));
    QCOMPARE(r.value("User_Size").toString(), QStringLiteral("鱼香肉丝"));
    QCOMPARE(r.value("User_Yaowei").toString(), QStringLiteral("靠窗"));
    QCOMPARE(r.value("User_Num").toDouble(), 0.0);
    QCOMPARE(r.value("User_MoneyAll").toDouble(), 0.0);
    QCOMPARE(r.value("User_ChuZhi").toDouble(), 0.0);
    QVERIFY(!r.value("User_InputDate").toString().isEmpty());
    QVERIFY(!q.next());

    // The same number again is refused; birth date left empty is accepted.
    MemberFields again = goodFields();
    again.card = QStringLiteral("2001");
    QCOMPARE(IssueCard(t.db, again, false, Now)->message, MemberText::CardTaken);
    again.card = QStringLiteral("2002");
    again.year.clear(), again.month.clear(), again.day.clear();
    QVERIFY(!IssueCard(t.db, again, false, Now));
    QCOMPARE(t.value(QStringLiteral("SELECT User_Brithday FROM User_Info WHERE User_Card = ?"),
                     {QStringLiteral("2002")})
                 .toString(),
             QString());
}

void TestMemberRules::issueWithoutPasswordsWritesNoPassword()
{
    TestDatabase t;
    MemberFields f = goodFields();
    f.password = QStringLiteral("abc");
    f.confirmPassword = QStringLiteral("xyz");
    QVERIFY(!IssueCard(t.db, f, false, Now));
    QCOMPARE(t.value(QStringLiteral("SELECT User_CardPWD FROM User_Info")).toString(), QString());
    QCOMPARE(t.value(QStringLiteral("SELECT User_Date FROM User_Info")).toString(),
             QStringLiteral("2999-01-01"));
}

void TestMemberRules::saveRefusals_data()
{
    QTest::addColumn<bool>("passwords");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const auto row = [](const char *name, bool pw, Edit e, const QString &message,
                        const char *focus) {
        QTest::newRow(name) << pw << e << message << QString::fromLatin1(focus);
    };
    const QString askBirth = QStringLiteral("请选择出生日期！");
    row(
        "empty card", false, [](MemberFields &f) { f.card.clear(); },
        QStringLiteral("卡号不能为空！"), "Edit1");
    row(
        "empty name", false, [](MemberFields &f) { f.name = QStringLiteral(" "); },
        QStringLiteral("姓名不能为空！"), "Edit2");
    row(
        "empty sex", false, [](MemberFields &f) { f.sex.clear(); }, QStringLiteral("请选择性别！"),
        "ComboBox1");
    row(
        "empty year", false, [](MemberFields &f) { f.year.clear(), f.day.clear(); }, askBirth,
        "ComboBox2");
    row(
        "empty month", false, [](MemberFields &f) { f.month.clear(), f.day.clear(); }, askBirth,
        "ComboBox3");
    row(
        "empty day", false, [](MemberFields &f) { f.day.clear(); }, askBirth, "ComboBox4");
    row(
        "no new password", true, [](MemberFields &f) { f.password.clear(); },
        QStringLiteral("修改密码不能为空!"), "edt_SecondPwd");
    row(
        "no confirmation", true, [](MemberFields &f) { f.confirmPassword.clear(); },
        QStringLiteral("确认密码不能为空!"), "edt_ConfirmPwd");
    row(
        "passwords differ", true, [](MemberFields &f) { f.password = QStringLiteral("9"); },
        QStringLiteral("修改后的密码与确认密码不一致!"), "edt_SecondPwd");
    row(
        "1975-13-1", false,
        [](MemberFields &f) {
            f.year = QStringLiteral("1975"), f.month = QStringLiteral("13"),
            f.day = QStringLiteral("1");
        },
        MemberText::BadBirthDate, "ComboBox2");
    row(
        "year typed as text", false, [](MemberFields &f) { f.year = QStringLiteral("19x5"); },
        MemberText::BadBirthDate, "ComboBox2");
    row(
        "expiry today", false, [](MemberFields &f) { f.expiry = Now.date(); },
        QStringLiteral("所修改卡有效日期不能小于当前日期!"), "dtp_CardDate");
    row(
        "card of another member", false, [](MemberFields &f) { f.card = QStringLiteral("1002"); },
        MemberText::CardTakenOnEdit, "Edit1");
}

void TestMemberRules::saveRefusals()
{
    QFETCH(bool, passwords);
    QFETCH(Edit, edit);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDatabase t;
    const qint64 a = addMember(t.db, QStringLiteral("1001"), QStringLiteral("王建国"));
    addMember(t.db, QStringLiteral("1002"), QStringLiteral("李秀英"));
    MemberFields f = goodFields();
    f.card = QStringLiteral("1001");
    f.name = QStringLiteral("改名");
    edit(f);

    const Check refusal = SaveMember(t.db, a, f, passwords, Now);
    QVERIFY(refusal);
    QCOMPARE(refusal->message, message);
    QCOMPARE(refusal->focus, focus);
    QCOMPARE(t.value(QStringLiteral("SELECT User_Name FROM User_Info WHERE User_ID = ?"), {a})
                 .toString(),
             QStringLiteral("王建国"));
}

void TestMemberRules::saveWritesEveryField_data()
{
    QTest::addColumn<bool>("passwords");
    QTest::addColumn<QString>("storedPassword");
    QTest::newRow("card passwords on") << true << QStringLiteral("new");
    QTest::newRow("card passwords off") << false << QStringLiteral("old");
}

void TestMemberRules::saveWritesEveryField()
{
    QFETCH(bool, passwords);
    QFETCH(QString, storedPassword);
    TestDatabase t;
    MemberRow m;
    m.card = QStringLiteral("1001");
    m.name = QStringLiteral("王建国");
    m.password = QStringLiteral("old");
    const qint64 a = addMember(t.db, m);
    addMember(t.db, QStringLiteral("1002"), QStringLiteral("李秀英"));

    MemberFields f = goodFields();
    f.card = QStringLiteral("1001"); // its own number is accepted
    f.name = QStringLiteral("D'Arcy");
    f.year = QStringLiteral("1975"), f.month = QStringLiteral("3"), f.day = QStringLiteral("1");
    f.password = QStringLiteral(" new ");
    f.confirmPassword = QStringLiteral("new");
    f.expiry = QDate(2024, 3, 6);
    f.locked = true;
    QVERIFY(!SaveMember(t.db, a, f, passwords, Now));

    QSqlQuery q = t.db.exec(QStringLiteral("SELECT * FROM User_Info WHERE User_ID = ?"), {a});
    QVERIFY(q.next());
    QCOMPARE(q.value("User_Card").toString(), QStringLiteral("1001"));
    QCOMPARE(q.value("User_Name").toString(), QStringLiteral("D’Arcy"));
    QCOMPARE(q.value("User_Brithday").toString(), QStringLiteral("1975-03-01"));
    QCOMPARE(q.value("User_Date").toString(), QStringLiteral("2024-03-06"));
    QCOMPARE(q.value("User_Stop").toInt(), 1);
    QCOMPARE(q.value("User_CardPWD").toString(), storedPassword);
    QCOMPARE(q.value("User_Address").toString(), QStringLiteral("解放路2号"));
    QCOMPARE(q.value("User_Other").toString(), QStringLiteral("老顾客"));
    // Points and amounts are not touched by an edit.
    QCOMPARE(q.value("User_ChuZhi").toDouble(), 88.5);
    QCOMPARE(q.value("User_Num").toDouble(), 120.0);
    // The other member is untouched.
    QCOMPARE(t.value(QStringLiteral("SELECT User_Name FROM User_Info WHERE User_Card = '1002'"))
                 .toString(),
             QStringLiteral("李秀英"));
}

void TestMemberRules::saveOfMissingMemberIsNoSuccess()
{
    TestDatabase t;
    const Check refusal = SaveMember(t.db, 42, goodFields(), false, Now);
    QVERIFY(refusal);
    QCOMPARE(refusal->message, QStringLiteral("没有查到此用户！"));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM User_Info")).toInt(), 0);
}

void TestMemberRules::deleteRemovesOnlyTheMemberRow()
{
    TestDatabase t;
    const qint64 a = addMember(t.db, QStringLiteral("1001"), QStringLiteral("王建国"));
    const qint64 b = addMember(t.db, QStringLiteral("1002"), QStringLiteral("李秀英"));
    addSale(t.db, a, QStringLiteral("2024-03-01 12:00:00"), {{10.0, 2}});
    t.db.exec(QStringLiteral("INSERT INTO TblAddMoney (UserID, FAddMoney) VALUES (?, 50)"), {a});

    QCOMPARE(DeleteMember(t.db, a), 1);
    QCOMPARE(
        t.value(QStringLiteral("SELECT COUNT(*) FROM User_Info WHERE User_ID = ?"), {a}).toInt(),
        0);
    QCOMPARE(
        t.value(QStringLiteral("SELECT COUNT(*) FROM User_Info WHERE User_ID = ?"), {b}).toInt(),
        1);
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(*) FROM S_Sale WHERE UserID = ?"), {a}).toInt(),
             1);
    QCOMPARE(
        t.value(QStringLiteral("SELECT COUNT(*) FROM S_SaleDetail WHERE UserID = ?"), {a}).toInt(),
        1);
    QCOMPARE(
        t.value(QStringLiteral("SELECT COUNT(*) FROM TblAddMoney WHERE UserID = ?"), {a}).toInt(),
        1);
}

void TestMemberRules::memberListOrders()
{
    TestDatabase t;
    addMember(t.db, QStringLiteral("A"), QStringLiteral("甲"), 100);
    addMember(t.db, QStringLiteral("B"), QStringLiteral("乙"), 300);
    addMember(t.db, QStringLiteral("C"), QStringLiteral("丙"), 100);
    addMember(t.db, QStringLiteral("D"), QStringLiteral("丁"), 0);

    QCOMPARE(column(t.db, MemberListSource(false), QStringLiteral("卡号")),
             QStringList({"D", "C", "B", "A"}));
    // Highest amount first, ties newest card first.
    QCOMPARE(column(t.db, MemberListSource(true), QStringLiteral("卡号")),
             QStringList({"B", "C", "A", "D"}));

    QSqlQuery q = t.db.exec(MemberListSource(false).sql);
    QStringList titles;
    for (int i = 0; i < q.record().count(); ++i)
        titles << q.record().fieldName(i);
    QCOMPARE(titles, QStringList({"序号", "卡号", "姓名", "性别", "积分", "消费金额", "储值金额",
                                  "出生日期", "有效期", "锁定", "职业", "文化程度", "口味",
                                  "常点菜", "其他信息", "电话", "手机", "时间"}));
}

void TestMemberRules::lookupFilters_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("cards");
    QTest::newRow("card contains 12")
        << int(LookupFilter::Card) << QStringLiteral("12") << QStringList({"1200", "8812", "3123"});
    QTest::newRow("card, no match")
        << int(LookupFilter::Card) << QStringLiteral("77") << QStringList();
    QTest::newRow("part of a name")
        << int(LookupFilter::Name) << QStringLiteral("建") << QStringList({"1200", "3123"});
    QTest::newRow("name with a quote finds nothing")
        << int(LookupFilter::Name) << QStringLiteral("O'N") << QStringList();
    QTest::newRow("card with a quote finds nothing")
        << int(LookupFilter::Card) << QStringLiteral("12'") << QStringList();
    QTest::newRow("empty text lists all") << int(LookupFilter::Card) << QString()
                                          << QStringList({"1200", "8812", "3123", "4000", "50%1"});
    QTest::newRow("all") << int(LookupFilter::All) << QString()
                         << QStringList({"1200", "8812", "3123", "4000", "50%1"});
    QTest::newRow("% is no wildcard")
        << int(LookupFilter::Card) << QStringLiteral("%") << QStringList({"50%1"});
    QTest::newRow("_ is no wildcard")
        << int(LookupFilter::Card) << QStringLiteral("1_0") << QStringList();
    QTest::newRow("name with _") << int(LookupFilter::Name) << QStringLiteral("_")
                                 << QStringList({"50%1"});
    QTest::newRow("backslash") << int(LookupFilter::Name) << QStringLiteral("\\") << QStringList();
    QTest::newRow("nothing") << int(LookupFilter::Nothing) << QString() << QStringList();
}

void TestMemberRules::lookupFilters()
{
    QFETCH(int, filter);
    QFETCH(QString, text);
    QFETCH(QStringList, cards);
    TestDatabase t;
    addMember(t.db, QStringLiteral("1200"), QStringLiteral("王建国"));
    addMember(t.db, QStringLiteral("8812"), QStringLiteral("李秀英"));
    addMember(t.db, QStringLiteral("3123"), QStringLiteral("张建"));
    addMember(t.db, QStringLiteral("4000"), QStringLiteral("O’Neil"));
    addMember(t.db, QStringLiteral("50%1"), QStringLiteral("李_明"));
    QCOMPARE(column(t.db, MemberLookupSource(LookupFilter(filter), text), QStringLiteral("卡号")),
             cards);
}

void TestMemberRules::newestMemberFound_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("name");
    QTest::newRow("shared card: the newer") << int(MemberKey::Card) << "1001"
                                            << "新会员";
    QTest::newRow("part of a name: the newest") << int(MemberKey::Name) << "建"
                                                << "张建华";
    QTest::newRow("by id") << int(MemberKey::Id) << "1"
                           << "王建国";
    QTest::newRow("no card") << int(MemberKey::Card) << "9"
                             << "";
    QTest::newRow("card is not a part match") << int(MemberKey::Card) << "100"
                                              << "";
    QTest::newRow("name with a quote") << int(MemberKey::Name) << "O'"
                                       << "";
    QTest::newRow("% is no wildcard") << int(MemberKey::Name) << "%"
                                      << "";
}

void TestMemberRules::newestMemberFound()
{
    QFETCH(int, key);
    QFETCH(QString, value);
    QFETCH(QString, name);
    TestDatabase t;
    addMember(t.db, QStringLiteral("1001"), QStringLiteral("王建国"));
    addMember(t.db, QStringLiteral("1002"), QStringLiteral("张建华"));
    addMember(t.db, QStringLiteral("1001"), QStringLiteral("新会员"));
    const auto row = FindNewestMember(t.db, MemberKey(key), value);
    QCOMPARE(row ? row->name : QString(), name);
}

void TestMemberRules::saleLinesShowReturnsPositive()
{
    TestDatabase t;
    const qint64 a = addMember(t.db, QStringLiteral("1001"), QStringLiteral("王建国"));
    const qint64 older = addSale(t.db, a, QStringLiteral("2024-03-01 10:00:00"), {{10, 1}});
    const qint64 sale =
        addSale(t.db, a, QStringLiteral("2024-03-02 10:00:00"), {{12.5, 2}, {8, -3}});
    QCOMPARE(column(t.db, MemberSalesSource(a), QStringLiteral("序号")),
             QStringList({QString::number(sale), QString::number(older)}));
    QCOMPARE(column(t.db, SaleLinesSource(sale), QStringLiteral("总价格")),
             QStringList({"24", "25"}));
    QCOMPARE(column(t.db, SaleLinesSource(sale), QStringLiteral("数量")), QStringList({"-3", "2"}));
    QCOMPARE(column(t.db, MemberSalesSource(0), QStringLiteral("序号")), QStringList());
    QCOMPARE(column(t.db, AllSaleLinesExportSource(), QStringLiteral("合计金额")).size(), 3);
}

void TestMemberRules::parseStoredDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("joined list texts") << "1980-2-29" << QDate(1980, 2, 29);
    QTest::newRow("iso") << "1975-03-01" << QDate(1975, 3, 1);
    QTest::newRow("with a time") << "2025-12-31 00:00:00" << QDate(2025, 12, 31);
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("no date") << "abc" << QDate();
    QTest::newRow("impossible day") << "1981-2-29" << QDate();
}

void TestMemberRules::parseStoredDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(ParseStoredDate(text), date);
}

QTEST_GUILESS_MAIN(TestMemberRules)
#include "tst_memberrules.moc"
