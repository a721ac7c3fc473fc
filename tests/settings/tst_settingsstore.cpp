// Writing the shop's settings row and keeping the running program's values
// in step with it.

#include "app/MainRules.h"
#include "settings/SettingsStore.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QtTest>

namespace
{

BasicSettingsForm validBasic()
{
    BasicSettingsForm f;
    f.threshold = "200";
    f.points = "15";
    f.pointsEditable = true;
    f.amountEditable = false;
    f.decimals = "1";
    f.scanning = false;
    f.cardPassword = true;
    return f;
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void basicRefusals_data();
    void basicRefusals();
    void basicSaveUpdatesRowAndSession();
    void saleMode_data();
    void saleMode();
    void printSave_data();
    void printSave();
    void missingRowIsCreated();
};

void TestSettingsStore::basicRefusals_data()
{
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("decimals");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString cash = "兑分设置只能是数字", jifen = "积分设置只能是数字";
    QTest::newRow("empty threshold") << ""
                                     << "10"
                                     << "2" << cash << "Edit1";
    QTest::newRow("blank threshold") << "   "
                                     << "10"
                                     << "2" << cash << "Edit1";
    QTest::newRow("decimal threshold") << "12.5"
                                       << "10"
                                       << "2" << cash << "Edit1";
    QTest::newRow("two points") << "1.2.3"
                                << "10"
                                << "2" << cash << "Edit1";
    QTest::newRow("negative threshold") << "-3"
                                        << "10"
                                        << "2" << cash << "Edit1";
    QTest::newRow("letters in threshold") << "1a"
                                          << "10"
                                          << "2" << cash << "Edit1";
    QTest::newRow("empty points") << "100"
                                  << ""
                                  << "2" << jifen << "Edit2";
    QTest::newRow("decimal points") << "100"
                                    << "0.5"
                                    << "2" << jifen << "Edit2";
    QTest::newRow("huge points") << "100"
                                 << "99999999999"
                                 << "2" << jifen << "Edit2";
    QTest::newRow("both wrong: threshold first") << "x"
                                                 << "y"
                                                 << "2" << cash << "Edit1";
    QTest::newRow("empty decimals") << "100"
                                    << "10"
                                    << ""
                                    << "保留小数位只能是0、1或2"
                                    << "edtFloatNum";
    QTest::newRow("decimals 3") << "100"
                                << "10"
                                << "3"
                                << "保留小数位只能是0、1或2"
                                << "edtFloatNum";
}

void TestSettingsStore::basicRefusals()
{
    QFETCH(QString, threshold);
    QFETCH(QString, points);
    QFETCH(QString, decimals);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDatabase t;
    const ShopSettings before = t.session.settings;
    BasicSettingsForm f = validBasic();
    f.threshold = threshold;
    f.points = points;
    f.decimals = decimals;
    const Check refusal = SettingsStore(t.db, t.session.settings).saveBasic(f);
    QVERIFY(refusal);
    QCOMPARE(refusal->message, message);
    QCOMPARE(refusal->focus, focus);
    // Nothing written, nothing changed in the running program.
    QCOMPARE(t.value("SELECT CashSeting FROM DataSeting").toInt(), 100);
    QCOMPARE(t.value("SELECT JifenSeting FROM DataSeting").toInt(), 10);
    QCOMPARE(t.value("SELECT FEnabledCard FROM DataSeting").toInt(), 0);
    QCOMPARE(t.session.settings.CashSeting, before.CashSeting);
    QCOMPARE(t.session.settings.FEnabledCard, before.FEnabledCard);
}

void TestSettingsStore::basicSaveUpdatesRowAndSession()
{
    TestDatabase t;
    BasicSettingsForm f = validBasic();
    f.threshold = " 250 ";
    QVERIFY(!SettingsStore(t.db, t.session.settings).saveBasic(f));
    QSqlQuery q = t.db.exec("SELECT CashSeting, JifenSeting, JifenModiYesOrNo, JinEModiYesOrNo, "
                            "FFloatNum, SaoMaYes, FEnabledCard FROM DataSeting");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 250);
    QCOMPARE(q.value(1).toInt(), 15);
    QCOMPARE(q.value(2).toInt(), 1);
    QCOMPARE(q.value(3).toInt(), 0);
    QCOMPARE(q.value(4).toInt(), 1);
    QCOMPARE(q.value(5).toString(), QString("0"));
    QCOMPARE(q.value(6).toInt(), 1);
    QVERIFY(!q.next());

    const ShopSettings &s = t.session.settings;
    QCOMPARE(s.CashSeting, 250);
    QCOMPARE(s.JifenSeting, 15);
    QCOMPARE(s.JifenModiYesOrNo, 1);
    QCOMPARE(s.JinEModiYesOrNo, 0);
    QCOMPARE(s.FFloatNum, -1);
    QCOMPARE(s.FEnabledCard, 1);

    // What the next login loads is what the session already holds.
    ShopSettings reloaded;
    QVERIFY(reloaded.load(t.db));
    QCOMPARE(reloaded.CashSeting, s.CashSeting);
    QCOMPARE(reloaded.FFloatNum, s.FFloatNum);
    QCOMPARE(reloaded.SaoMaYes, s.SaoMaYes);
}

void TestSettingsStore::saleMode_data()
{
    QTest::addColumn<bool>("scanning");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("screen");
    QTest::addColumn<bool>("productsOpen");
    QTest::newRow("scan box unticked") << false << "2"
                                       << "0" << int(SaleScreen::Standard) << false;
    QTest::newRow("独立软件") << true << "1"
                              << "1" << int(SaleScreen::Scan) << true;
    QTest::newRow("做为进销存软件前台") << true << "2"
                                        << "2" << int(SaleScreen::Retail) << false;
    QTest::newRow("做为第三方软件前台") << true << "3"
                                        << "3" << int(SaleScreen::External) << false;
}

void TestSettingsStore::saleMode()
{
    QFETCH(bool, scanning);
    QFETCH(QString, choice);
    QFETCH(QString, stored);
    QFETCH(int, screen);
    QFETCH(bool, productsOpen);
    TestDatabase t;
    // Start from a different mode, so that the change shows.
    t.db.exec("UPDATE DataSeting SET SaoMaYes = ?", {stored == "1" ? "0" : "1"});
    t.session.settings.load(t.db);
    const QString host = t.folder() + "/host.db";
    QFile(host).open(QIODevice::WriteOnly);

    BasicSettingsForm f = validBasic();
    f.scanning = scanning;
    f.scanMode = choice;
    f.hostDbPath = host;
    QVERIFY(!SettingsStore(t.db, t.session.settings).saveBasic(f));
    QCOMPARE(t.value("SELECT SaoMaYes FROM DataSeting").toString(), stored);
    QCOMPARE(t.session.settings.SaoMaYes, stored);
    QCOMPARE(t.value("SELECT FHostDbPath FROM DataSeting").toString(), host);
    QCOMPARE(t.session.settings.HostDbPath, host);
    // 消费 follows the session at once; 产品 reads the database.
    QCOMPARE(int(SaleScreenFor(t.session.settings.SaoMaYes)), screen);
    QCOMPARE(!ProductsRefusal(t.db).has_value(), productsOpen);
}

void TestSettingsStore::printSave_data()
{
    QTest::addColumn<bool>("autoPrint");
    QTest::addColumn<bool>("narrow");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<int>("storedCopies");
    QTest::newRow("auto print, 80 mm, 3 copies") << true << false << "3" << 3;
    QTest::newRow("auto print, 58 mm, 12 copies") << true << true << " 12 " << 12;
    // While automatic printing is off the stored count keeps its value.
    QTest::newRow("no auto print keeps the count") << false << true << "9" << 2;
}

void TestSettingsStore::printSave()
{
    QFETCH(bool, autoPrint);
    QFETCH(bool, narrow);
    QFETCH(QString, copies);
    QFETCH(int, storedCopies);
    TestDatabase t;
    t.db.exec("UPDATE DataSeting SET FPrintCount = 2");
    PrintSettingsForm f;
    f.autoPrint = autoPrint;
    f.narrowPaper = narrow;
    f.copies = copies;
    f.title = "  百纳餐厅 ";
    f.footers = {"谢谢惠顾", "地址：'中山路'", "", " 电话 ", "欢迎再来"};
    QVERIFY(!SettingsStore(t.db, t.session.settings).savePrint(f));
    QSqlQuery q = t.db.exec("SELECT PrintYesOrNo, PrintBig, FPrintCount, Biaoti, piaowei1, "
                            "piaowei2, piaowei3, piaowei4, piaowei5 FROM DataSeting");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), autoPrint ? 1 : 0);
    QCOMPARE(q.value(1).toInt(), narrow ? 1 : 2);
    QCOMPARE(q.value(2).toInt(), storedCopies);
    QCOMPARE(q.value(3).toString(), QString("  百纳餐厅 "));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(q.value(4 + i).toString(), f.footers[i]);
    const ShopSettings &s = t.session.settings;
    QCOMPARE(s.PrintYesOrNo, autoPrint ? 1 : 0);
    QCOMPARE(s.PrintBig, narrow ? 1 : 2);
    QCOMPARE(s.Biaoti, QString("  百纳餐厅 "));
    QCOMPARE(s.piaowei2, QString("地址：'中山路'"));
    QCOMPARE(s.piaowei4, QString(" 电话 "));
}

void TestSettingsStore::missingRowIsCreated()
{
    TestDatabase t;
    t.db.exec("DELETE FROM DataSeting");
    QVERIFY(!SettingsStore(t.db, t.session.settings).saveBasic(validBasic()));
    QCOMPARE(t.value("SELECT COUNT(*) FROM DataSeting").toInt(), 1);
    QCOMPARE(t.value("SELECT CashSeting FROM DataSeting").toInt(), 200);
    PrintSettingsForm p;
    p.autoPrint = true;
    p.copies = "2";
    QVERIFY(!SettingsStore(t.db, t.session.settings).savePrint(p));
    QCOMPARE(t.value("SELECT COUNT(*) FROM DataSeting").toInt(), 1);
    QCOMPARE(t.value("SELECT FPrintCount FROM DataSeting").toInt(), 2);
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
