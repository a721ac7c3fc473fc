// "Contains" searches of member names and cards come from the search index:
// they must find exactly the members LIKE '%text%' finds, in the same order,
// before and after every kind of change to the members.
#include "data/Database.h"
#include "data/TextRules.h"
#include "data/TextSearch.h"
#include "support/TestDatabase.h"

#include <QSqlQuery>
#include <QtTest>

namespace
{

const QString Select = QStringLiteral("SELECT User_Info.User_ID");

QList<qint64> Ids(Database &db, const QuerySource &source)
{
    QList<qint64> out;
    QSqlQuery q = db.exec(source.sql, source.binds);
    while (q.next())
        out << q.value(0).toLongLong();
    return out;
}

// What the search must give: LIKE over every member.
QList<qint64> ByLike(Database &db, SearchedText which, const QString &text, SearchOrder order)
{
    const QString column = which == SearchedText::Name ? "User_Name" : "User_Card";
    return Ids(
        db,
        {QStringLiteral("SELECT User_ID FROM User_Info WHERE %1 LIKE '%' || ? || '%'").arg(column) +
             LikeEscape + QStringLiteral(" ORDER BY User_ID") +
             (order == SearchOrder::NewestFirst ? " DESC" : ""),
         {LikeEscaped(text)}});
}

void AddMember(Database &db, const QString &card, const QString &name)
{
    db.exec(QStringLiteral("INSERT INTO User_Info (User_Card, User_Name) VALUES (?, ?)"),
            {card, name});
}

// Members whose names and cards try the cutting into pieces: case, LIKE's
// wildcards, quotes, blanks, characters of four UTF-8 bytes, one-character
// names and texts shorter than the pieces.
void AddTrickyMembers(Database &db)
{
    const QList<QPair<QString, QString>> members = {{"A001", "Anna"},
                                                    {"a002", "aNNa li"},
                                                    {"B-003", "张三"},
                                                    {"0040", "张"},
                                                    {"x%5", "50%折扣"},
                                                    {"y_6", "下_划线"},
                                                    {"z\\7", "反\\斜杠"},
                                                    {"'8'", "O'Brien"},
                                                    {"\"9\"", "双\"引号\""},
                                                    {"10 10", "有 空格"},
                                                    {"😀11", "笑😀脸"},
                                                    {"12", "会员甲乙丙丁戊己庚"},
                                                    {"AbC13", "ÉCOLE école"},
                                                    {"1414", "a"},
                                                    {"15", "张三丰"},
                                                    {"", ""},
                                                    {"16", "ab"},
                                                    {"17", "bab"}};
    for (const auto &m : members)
        AddMember(db, m.first, m.second);
}

const QStringList Texts = {"a",    "A",        "n",      "nn",   "NNA",  "anna",  "anna li", "张",
                           "张三", "三丰",     "张三丰", "%",    "_",    "\\",    "'",       "\"",
                           " ",    "0",        "00",     "1",    "10",   "0 1",   "😀",       "😀1",
                           "笑😀",  "甲乙丙丁", "乙丁",   "é",    "É",    "école", "ÉCOLE",   "b",
                           "ab",   "bab",      "abab",   "Z",    "没有", "\\7",   "%5",      "x%",
                           "_6",   "a\\",      "会员",   "折扣", "O'B"};

} // namespace

class TestTextSearch : public QObject
{
    Q_OBJECT
private slots:
    void findsWhatLikeFinds_data();
    void findsWhatLikeFinds();
    void emptyTextFindsEveryMember();
    void usesTheIndex();
};

void TestTextSearch::findsWhatLikeFinds_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("as added") << 0;
    QTest::newRow("after renaming and new cards") << 1;
    QTest::newRow("after deleting") << 2;
    QTest::newRow("after a new id and a new member") << 3;
    QTest::newRow("demo members") << 4;
}

void TestTextSearch::findsWhatLikeFinds()
{
    QFETCH(int, change);
    TestDatabase t(change == 4 ? TestDatabase::Content::Demo : TestDatabase::Content::Schema);
    if (change != 4)
        AddTrickyMembers(t.db);
    if (change >= 1 && change <= 3) {
        t.db.exec(
            QStringLiteral("UPDATE User_Info SET User_Name = 'Hanna' WHERE User_Card = 'A001'"));
        t.db.exec(QStringLiteral("UPDATE User_Info SET User_Card = 'N0' WHERE User_Card = '0040'"));
        t.db.exec(QStringLiteral("UPDATE User_Info SET User_Name = User_Name || '张', "
                                 "User_Card = User_Card || 'x' WHERE User_Card = '12'"));
        // Written without changing the texts: the index keeps them once.
        t.db.exec(QStringLiteral("UPDATE User_Info SET User_Name = User_Name, User_Num = 5"));
    }
    if (change >= 2) {
        t.db.exec(QStringLiteral("DELETE FROM User_Info WHERE User_Card IN ('B-003', '😀11')"));
    }
    if (change == 3) {
        t.db.exec(QStringLiteral("UPDATE User_Info SET User_ID = 500 WHERE User_Card = '15'"));
        AddMember(t.db, QStringLiteral("B-003"), QStringLiteral("张三"));
    }
    int matched = 0;
    for (SearchedText which : {SearchedText::Name, SearchedText::Card}) {
        for (SearchOrder order : {SearchOrder::OldestFirst, SearchOrder::NewestFirst}) {
            for (const QString &text : Texts) {
                const QList<qint64> expected = ByLike(t.db, which, text, order);
                matched += int(expected.size());
                const QList<qint64> found =
                    Ids(t.db, MembersContaining(Select, which, text, order));
                QVERIFY2(found == expected,
                         qPrintable(QStringLiteral("%1 %2 \"%3\": %4 members, LIKE finds %5")
                                        .arg(which == SearchedText::Name ? "name" : "card")
                                        .arg(order == SearchOrder::NewestFirst ? "desc" : "asc")
                                        .arg(text)
                                        .arg(found.size())
                                        .arg(expected.size())));
            }
        }
    }
    // The texts above do find members: the comparison is not of empty lists.
    QVERIFY(matched > 20);
    // The index itself is sound after the changes (throws when it is not).
    t.db.exec(QStringLiteral("INSERT INTO User_Search (User_Search) VALUES ('integrity-check')"));
}

void TestTextSearch::emptyTextFindsEveryMember()
{
    TestDatabase t(TestDatabase::Content::Demo);
    const QList<qint64> all = Ids(
        t.db, MembersContaining(Select, SearchedText::Name, QString(), SearchOrder::NewestFirst));
    QCOMPARE(all.size(), t.value(QStringLiteral("SELECT COUNT(*) FROM User_Info")).toInt());
    QVERIFY(all.size() > 1);
    QVERIFY(all.first() > all.last());
}

void TestTextSearch::usesTheIndex()
{
    TestDatabase t;
    for (const QString &text : {QStringLiteral("a"), QStringLiteral("张三丰")}) {
        const QuerySource s =
            MembersContaining(Select, SearchedText::Card, text, SearchOrder::NewestFirst);
        QSqlQuery plan = t.db.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + s.sql, s.binds);
        QString detail;
        while (plan.next())
            detail += plan.value(3).toString() + QLatin1Char('\n');
        // The index drives, the members are fetched by id, nothing is sorted.
        QVERIFY2(detail.contains(QLatin1String("SCAN User_Search VIRTUAL TABLE")),
                 qPrintable(detail));
        QVERIFY2(detail.contains(QLatin1String("SEARCH User_Info USING INTEGER PRIMARY KEY")),
                 qPrintable(detail));
        QVERIFY2(!detail.contains(QLatin1String("TEMP B-TREE")), qPrintable(detail));
    }
}

QTEST_GUILESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
