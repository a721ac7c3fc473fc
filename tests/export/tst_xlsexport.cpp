// The workbook writer and the grid export, checked by reading the written
// files back with libfreexl, a reader we did not write.

#include "export/ExcelExport.h"
#include "export/XlsWriter.h"
#include "support/Sanitizers.h"
#include "support/TestDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <freexl.h>

namespace
{

struct Sheet {
    QString name;
    QList<QStringList> rows; // every cell as text; an empty cell is an empty text
    int columns = 0;
};

// Reads every sheet of a workbook with libfreexl; fails the test on a
// reading error.
QList<Sheet> readXls(const QString &path, bool *ok)
{
    *ok = false;
    QList<Sheet> sheets;
    const void *handle = nullptr;
    const QByteArray file = QFile::encodeName(path);
    if (freexl_open(file.constData(), &handle) != FREEXL_OK) {
        qWarning("freexl_open failed for %s", file.constData());
        freexl_close(handle);
        return sheets;
    }
    unsigned int sheetCount = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount);
    for (unsigned short s = 0; s < sheetCount; ++s) {
        Sheet sheet;
        const char *name = nullptr;
        if (freexl_get_worksheet_name(handle, s, &name) != FREEXL_OK ||
            freexl_select_active_worksheet(handle, s) != FREEXL_OK) {
            freexl_close(handle);
            return sheets;
        }
        sheet.name = QString::fromUtf8(name);
        unsigned int rows = 0;
        unsigned short columns = 0;
        freexl_worksheet_dimensions(handle, &rows, &columns);
        sheet.columns = columns;
        for (unsigned int r = 0; r < rows; ++r) {
            QStringList cells;
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(handle, r, c, &value) != FREEXL_OK) {
                    qWarning("cell %u,%u unreadable", r, unsigned(c));
                    freexl_close(handle);
                    return sheets;
                }
                if (value.type == FREEXL_CELL_TEXT || value.type == FREEXL_CELL_SST_TEXT)
                    cells << QString::fromUtf8(value.value.text_value);
                else if (value.type == FREEXL_CELL_NULL)
                    cells << QString();
                else
                    cells << QStringLiteral("<type %1>").arg(value.type);
            }
            sheet.rows << cells;
        }
        sheets << sheet;
    }
    freexl_close(handle);
    *ok = true;
    return sheets;
}

QString repeated(const QString &unit, int times)
{
    QString s;
    for (int i = 0; i < times; ++i)
        s += unit;
    return s;
}

// Peak and current resident memory of this process, in bytes (Linux).
qint64 statusValue(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key)) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            return parts.size() >= 2 ? parts[1].toLongLong() * 1024 : -1;
        }
    }
    return -1;
}

bool resetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

class RecordingFeedback : public ExportFeedback
{
public:
    void started(qint64 rows) override { startedWith << rows; }
    void progressed(qint64 written) override { reports << written; }
    void finished() override { ++finishedCount; }
    QList<qint64> startedWith;
    QList<qint64> reports;
    int finishedCount = 0;
};

} // namespace

class TestXlsExport : public QObject
{
    Q_OBJECT
private slots:
    // First, while the process is still small, so that its memory use shows.
    void largeExportIsFastAndStreams();
    void writerRoundTrip_data();
    void writerRoundTrip();
    void rowsContinueOnFurtherSheets();
    void existingFileRefused_data();
    void existingFileRefused();
    void gridExportReadsBack_data();
    void gridExportReadsBack();
    void failedSelectLeavesNoFile();
};

void TestXlsExport::writerRoundTrip_data()
{
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<QList<QStringList>>("rows");

    QTest::newRow("heading row only")
        << QStringList{"姓名", "金额", "日期"} << QList<QStringList>{};

    QTest::newRow("3 rows, 5 columns, Chinese and Latin-1")
        << QStringList{"序号", "姓名", "品牌", "单价", "备注"}
        << QList<QStringList>{{"1", "王建国", "café", "12.5", "O’Neil"},
                              {"2", "李小红", "", "0.3", "常点菜：宫保鸡丁"},
                              {"3", "Zoë", "百纳", "100", ""}};

    // Texts longer than a cell record takes go through the shared strings,
    // split over CONTINUE records where they pass a record's size. (libfreexl
    // 1.0 reads a string over at most two records, so these stay within that.)
    QList<QStringList> longRows;
    longRows << QStringList{repeated("a", 256), repeated("长", 300)};
    longRows << QStringList{repeated("中文字符", 1000), repeated("x", 8000)};
    longRows << QStringList{repeated(QString::fromUtf8("\xF0\x9F\x98\x80"), 2000), "短"};
    longRows << QStringList{repeated("b", 255), repeated("é", 9000)};
    QTest::newRow("long texts") << QStringList{"甲", "乙"} << longRows;

    QList<QStringList> many;
    for (int i = 0; i < 3000; ++i)
        many << QStringList{QString::number(i), QStringLiteral("会员%1").arg(i), "", "x"};
    QTest::newRow("3000 rows") << QStringList{"序号", "姓名", "空", "标记"} << many;
}

void TestXlsExport::writerRoundTrip()
{
    QFETCH(QStringList, headings);
    QFETCH(QList<QStringList>, rows);
    QTemporaryDir dir;
    const QString path = dir.filePath("book.xls");
    {
        XlsWriter xls(headings);
        for (const QStringList &row : rows)
            QVERIFY(xls.addRow(row));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY2(xls.finish(file), qPrintable(xls.errorString()));
        QCOMPARE(xls.rowCount(), rows.size());
        QCOMPARE(xls.sheetCount(), 1);
    }
    bool ok = false;
    const QList<Sheet> sheets = readXls(path, &ok);
    QVERIFY(ok);
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets[0].name, QStringLiteral("Sheet1"));
    QCOMPARE(sheets[0].columns, headings.size());
    QCOMPARE(sheets[0].rows.size(), rows.size() + 1);
    QCOMPARE(sheets[0].rows[0], headings);
    for (int r = 0; r < rows.size(); ++r)
        QCOMPARE(sheets[0].rows[r + 1], rows[r]);
}

void TestXlsExport::rowsContinueOnFurtherSheets()
{
    const int total = 2 * XlsWriter::MaxDataRowsPerSheet + 7;
    QTemporaryDir dir;
    const QString path = dir.filePath("long.xls");
    {
        XlsWriter xls({"编号", "名称"});
        for (int i = 0; i < total; ++i)
            QVERIFY(xls.addRow({QString::number(i), QStringLiteral("商品%1").arg(i)}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(xls.finish(file));
        QCOMPARE(xls.sheetCount(), 3);
    }
    bool ok = false;
    const QList<Sheet> sheets = readXls(path, &ok);
    QVERIFY(ok);
    QCOMPARE(sheets.size(), 3);
    const QList<int> expectedRows = {65536, 65536, 8};
    int next = 0;
    for (int s = 0; s < 3; ++s) {
        QCOMPARE(sheets[s].name, QStringLiteral("Sheet%1").arg(s + 1));
        QCOMPARE(sheets[s].rows.size(), expectedRows[s]);
        QCOMPARE(sheets[s].rows[0], (QStringList{"编号", "名称"}));
        for (int r = 1; r < sheets[s].rows.size(); ++r, ++next) {
            const QStringList expected{QString::number(next), QStringLiteral("商品%1").arg(next)};
            if (sheets[s].rows[r] != expected)
                QFAIL(qPrintable(QStringLiteral("sheet %1 row %2: %3")
                                     .arg(s)
                                     .arg(r)
                                     .arg(sheets[s].rows[r].join('|'))));
        }
    }
    QCOMPARE(next, total);
}

void TestXlsExport::existingFileRefused_data()
{
    QTest::addColumn<QString>("existing"); // file present before the export
    QTest::addColumn<QString>("chosen");   // name chosen in the save dialog
    QTest::addColumn<QString>("target");   // file the export writes or refuses
    QTest::addColumn<bool>("refused");
    QTest::newRow("workbook of that name exists") << "b.xls"
                                                  << "b"
                                                  << "b.xls" << true;
    QTest::newRow("file without extension exists") << "a"
                                                   << "a"
                                                   << "a.xls" << false;
    QTest::newRow("existing workbook picked in the dialog") << "c.xls"
                                                            << "c.xls"
                                                            << "c.xls" << true;
    QTest::newRow("name typed with .xls") << "d"
                                          << "e.XLS"
                                          << "e.XLS" << false;
}

void TestXlsExport::existingFileRefused()
{
    QFETCH(QString, existing);
    QFETCH(QString, chosen);
    QFETCH(QString, target);
    QFETCH(bool, refused);
    TestDatabase t;
    const QString existingPath = t.folder() + "/" + existing;
    {
        QFile f(existingPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    t.files.saveAnswers.enqueue(t.folder() + "/" + chosen);
    ExportDataSetToExcel(t.ctx, {"SELECT Admin_Name AS 操作员 FROM admin", {}});

    QFile kept(existingPath);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("keep me"));
    if (refused) {
        QCOMPARE(t.prompter.messages,
                 QStringList{"文件[" + t.folder() + "/" + target + "]已存在!"});
        return;
    }
    QVERIFY(!QFile::exists(t.folder() + "/" + target + ".xls"));
    QCOMPARE(t.prompter.messages, QStringList{"成功导出1条数据!"});
    bool ok = false;
    const QList<Sheet> sheets = readXls(t.folder() + "/" + target, &ok);
    QVERIFY(ok);
    QCOMPARE(sheets[0].rows, (QList<QStringList>{{"操作员"}, {"admin"}}));
}

void TestXlsExport::gridExportReadsBack_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("binds");
    QTest::addColumn<QList<QStringList>>("expected"); // heading row first

    QTest::newRow("operators with Chinese names")
        << "Select Admin_ID as 序号,Admin_Name as 操作员, Admin_Group as 权限 from Admin "
           "where Admin_Group = ? Order by Admin_ID"
        << QVariantList{"1"}
        << QList<QStringList>{
               {"序号", "操作员", "权限"}, {"2", "王建国", "1"}, {"3", "李’红", "1"}};
    QTest::newRow("numbers and empty values")
        << "Select 12.5 as 单价, 0.1 + 0.2 as 合计, 7 as 数量, NULL as 备注, '' as 其他"
        << QVariantList{}
        << QList<QStringList>{{"单价", "合计", "数量", "备注", "其他"},
                              {"12.5", "0.3", "7", "", ""}};
    QTest::newRow("no rows: heading only")
        << "Select StoreName as 店名 from SL_Store where StoreID = -1" << QVariantList{}
        << QList<QStringList>{{"店名"}};
}

void TestXlsExport::gridExportReadsBack()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, binds);
    QFETCH(QList<QStringList>, expected);
    TestDatabase t;
    t.db.exec("INSERT INTO admin (Admin_Name, Admin_Pwd, Admin_Group) VALUES (?, ?, ?), (?, ?, ?)",
              {"王建国", "1", "1", "李’红", "2", "1"});
    t.files.saveAnswers.enqueue(t.folder() + "/导出");
    ExportDataSetToExcel(t.ctx, {sql, binds});
    QCOMPARE(t.prompter.messages,
             QStringList{QStringLiteral("成功导出%1条数据!").arg(expected.size() - 1)});
    QCOMPARE(t.files.titles, QStringList{"导出Excel"});
    bool ok = false;
    const QList<Sheet> sheets = readXls(t.folder() + "/导出.xls", &ok);
    QVERIFY(ok);
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets[0].rows, expected);
}

void TestXlsExport::failedSelectLeavesNoFile()
{
    TestDatabase t;
    t.files.saveAnswers.enqueue(t.folder() + "/bad");
    ExportDataSetToExcel(t.ctx, {"Select NoSuchColumn as 名称 from admin", {}});
    QCOMPARE(t.prompter.messages.size(), 1);
    QVERIFY(t.prompter.messages[0].startsWith("错误:"));
    QVERIFY(!QFile::exists(t.folder() + "/bad.xls"));

    // Cancelling the save dialog does nothing at all.
    t.prompter.clear();
    ExportDataSetToExcel(t.ctx, {"Select Admin_Name as 操作员 from admin", {}});
    QVERIFY(t.prompter.messages.isEmpty());
    QCOMPARE(QDir(t.folder()).entryList({"*.xls"}, QDir::Files), QStringList());
}

void TestXlsExport::largeExportIsFastAndStreams()
{
    TestDatabase t;
    const int total = 100000;
    t.db.exec("CREATE TABLE big (c1 INTEGER, c2 TEXT, c3 TEXT, c4 REAL, c5 TEXT, c6 TEXT, c7 "
              "INTEGER, c8 REAL, c9 TEXT, c10 TEXT, c11 REAL, c12 TEXT, c13 TEXT)");
    t.db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
              "INSERT INTO big SELECT i, '会员' || i, 'A' || (i % 97), i * 1.5, "
              "date('2024-01-01', '+' || (i % 365) || ' days'), '宫保鸡丁', i % 7, i / 3.0, "
              "'品牌' || (i % 13), '张三', 99.9, 'note ' || i, '其他信息' FROM n",
              {total});
    const QString sql =
        "SELECT c1 AS 序号, c2 AS 姓名, c3 AS 编码, c4 AS 单价, c5 AS 销售日期, c6 AS 产品名, "
        "c7 AS 数量, c8 AS 折扣价, c9 AS 品牌, c10 AS 销售员, c11 AS 合计金额, c12 AS 备注, "
        "c13 AS 其他 FROM big ORDER BY c1";

    RecordingFeedback feedback;
    ExportFeedback::install(&feedback);
    // Freed memory stays in the sanitizer's quarantine: no figure to judge.
    const bool measureMemory = !UnderAddressSanitizer && resetPeakMemory();
    const qint64 before = statusValue("VmRSS:");
    t.files.saveAnswers.enqueue(t.folder() + "/big");
    QElapsedTimer timer;
    timer.start();
    ExportDataSetToExcel(t.ctx, {sql, {}});
    const qint64 elapsed = timer.elapsed();
    const qint64 peak = statusValue("VmHWM:");
    ExportFeedback::install(nullptr);

    QCOMPARE(t.prompter.messages, QStringList{"成功导出100000条数据!"});
    const qint64 size = QFileInfo(t.folder() + "/big.xls").size();
    qInfo("100000 rows x 13 columns: %lld ms, file %lld bytes, memory growth %lld bytes", elapsed,
          size, peak - before);
    QVERIFY2(elapsed < 3000 * TimeLimitFactor, qPrintable(QString::number(elapsed)));
    if (measureMemory && before > 0 && peak > 0)
        QVERIFY2(peak - before < size / 3, "the workbook was held in memory");
    QCOMPARE(feedback.startedWith, QList<qint64>{total});
    QCOMPARE(feedback.reports.last(), qint64(total));
    QVERIFY(feedback.reports.size() >= total / 1000);
    QCOMPARE(feedback.finishedCount, 1);

    bool ok = false;
    const QList<Sheet> sheets = readXls(t.folder() + "/big.xls", &ok);
    QVERIFY(ok);
    QCOMPARE(sheets.size(), 2);
    QCOMPARE(sheets[0].rows.size(), 65536);
    QCOMPARE(sheets[1].rows.size(), total - 65535 + 1);
    QCOMPARE(sheets[1].rows[0], sheets[0].rows[0]);
    QCOMPARE(sheets[0].rows[0].first(), QStringLiteral("序号"));
    QCOMPARE(sheets[0].rows[0].last(), QStringLiteral("其他"));
    QCOMPARE(sheets[0].rows[1],
             (QStringList{"1", "会员1", "A1", "1.5", "2024-01-02", "宫保鸡丁", "1",
                          "0.333333333333333", "品牌1", "张三", "99.9", "note 1", "其他信息"}));
    QCOMPARE(sheets[1].rows.last()[1], QStringLiteral("会员100000"));
    QCOMPARE(sheets[1].rows[1][0], QStringLiteral("65536"));
}

QTEST_GUILESS_MAIN(TestXlsExport)
#include "tst_xlsexport.moc"
