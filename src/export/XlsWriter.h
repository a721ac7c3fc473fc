#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QIODevice;
class QTemporaryFile;

// Writes a workbook in the Excel 97-2003 format: a BIFF8 "Workbook" stream
// inside an OLE2 compound file, the format any spreadsheet program opens as
// ".xls". Every sheet starts with the heading row; each added row follows as
// text cells. A sheet holds 65,536 rows, so after 65,535 data rows the rows
// continue on a further sheet (Sheet2, Sheet3, ...) that repeats the headings.
//
// The rows are streamed into a temporary file as they come, so memory does not
// grow with the number of rows; finish() then writes the compound file to the
// output device front to back (the device needs no seeking: a QBuffer, a QFile
// or a socket will do).
//
//   XlsWriter xls({"姓名", "金额"});
//   xls.addRow({"王建国", "12.5"});
//   xls.finish(file);
class XlsWriter
{
public:
    static constexpr int MaxRowsPerSheet = 65536;
    static constexpr int MaxDataRowsPerSheet = MaxRowsPerSheet - 1;
    // Columns past this are not written (the format has 256 columns).
    static constexpr int MaxColumns = 256;
    // Longest text a cell holds; longer texts are cut to it.
    static constexpr int MaxCellText = 32767;

    explicit XlsWriter(const QStringList &headings);
    ~XlsWriter();
    XlsWriter(const XlsWriter &) = delete;
    XlsWriter &operator=(const XlsWriter &) = delete;

    // Adds one data row; an empty text leaves its cell empty. False when the
    // temporary file cannot be written (see errorString()).
    bool addRow(const QStringList &cells);
    // Writes the whole workbook to `out`, which must be open for writing. No
    // rows can be added afterwards.
    bool finish(QIODevice &out);

    qint64 rowCount() const { return m_rows; }
    int sheetCount() const { return int(m_sheetStarts.size()); }
    QString errorString() const { return m_error; }

private:
    bool ensureOpen();
    void beginSheet();
    bool endSheet();
    void writeCells(quint16 row, const QStringList &cells);
    void appendSharedString(const QString &text);
    bool flushSheetBuffer();
    bool flushSstRecord(bool last);
    bool fail(const QString &why);
    QByteArray globalsPrefix(const QList<quint32> &sheetOffsets) const;
    QByteArray extSst(quint32 sstStart) const;

    QStringList m_headings;
    int m_columns = 0;
    qint64 m_rows = 0;
    int m_rowInSheet = 0; // next row of the current sheet (0 = headings)
    bool m_finished = false;
    QString m_error;

    // Sheet substreams, one after another.
    std::unique_ptr<QTemporaryFile> m_sheetFile;
    QByteArray m_sheetBuffer;
    QList<qint64> m_sheetStarts; // offset of each sheet's BOF in the sheet file
    qint64 m_dimensionsAt = -1;  // offset of the current sheet's DIMENSIONS record

    // Shared strings: texts too long for a cell record of their own. Written
    // as SST and CONTINUE records into their own temporary file.
    std::unique_ptr<QTemporaryFile> m_sstFile;
    QByteArray m_sstRecord; // data of the record being filled
    quint32 m_sstCount = 0;
    qint64 m_sstWritten = 0; // bytes of complete records in m_sstFile
    // For every eighth string: its offset in the SST records and its offset
    // inside the record that holds its start (the EXTSST index).
    QList<QPair<quint32, quint16>> m_sstMarks;
};
