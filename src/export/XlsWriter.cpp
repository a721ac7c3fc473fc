#include "export/XlsWriter.h"

#include <QDir>
#include <QIODevice>
#include <QTemporaryFile>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>

namespace
{

// BIFF8 record types.
enum : quint16 {
    BOF = 0x0809,
    EOF_ = 0x000A,
    CODEPAGE = 0x0042,
    WINDOW1 = 0x003D,
    DATEMODE = 0x0022,
    FONT = 0x0031,
    XF = 0x00E0,
    STYLE = 0x0293,
    BOUNDSHEET = 0x0085,
    SST = 0x00FC,
    EXTSST = 0x00FF,
    CONTINUE = 0x003C,
    DIMENSIONS = 0x0200,
    WINDOW2 = 0x023E,
    ROW = 0x0208,
    LABEL = 0x0204,
    LABELSST = 0x00FD,
};

// Largest data part of one record.
constexpr int MaxRecordData = 8224;
// Texts up to this length go into a LABEL record of their own.
constexpr int MaxLabelText = 255;
// The cell format every cell uses: the first cell XF after the 15 style XFs.
constexpr quint16 CellXf = 15;
constexpr int SheetBufferLimit = 1 << 20;

// Compound file sector markers.
constexpr quint32 FreeSector = 0xFFFFFFFF;
constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 FatSector = 0xFFFFFFFD;
constexpr quint32 DifatSector = 0xFFFFFFFC;
constexpr quint32 NoStream = 0xFFFFFFFF;
constexpr int SectorSize = 512;
constexpr int MiniSectorSize = 64;
constexpr int MiniStreamCutoff = 4096;
constexpr int HeaderDifatEntries = 109;
constexpr int EntriesPerSector = SectorSize / 4;

void put8(QByteArray &b, quint8 v)
{
    b.append(char(v));
}

void put16(QByteArray &b, quint16 v)
{
    const char c[2] = {char(v & 0xFF), char(v >> 8)};
    b.append(c, 2);
}

void put32(QByteArray &b, quint32 v)
{
    const char c[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                       char(v >> 24)};
    b.append(c, 4);
}

void set16(QByteArray &b, int at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

void set32(QByteArray &b, int at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

void putRecord(QByteArray &b, quint16 type, const QByteArray &data)
{
    put16(b, type);
    put16(b, quint16(data.size()));
    b.append(data);
}

// A text needs the two-byte form when a character lies above Latin-1.
bool isWide(const QChar *p, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i)
        if (p[i].unicode() > 0xFF)
            return true;
    return false;
}

void putChars(QByteArray &b, const QChar *p, qsizetype n, bool wide)
{
    if (wide) {
        const qsizetype at = b.size();
        b.resize(at + 2 * n);
        qToLittleEndian<quint16>(p, n, b.data() + at);
    } else {
        const qsizetype at = b.size();
        b.resize(at + n);
        char *out = b.data() + at;
        for (qsizetype i = 0; i < n; ++i)
            out[i] = char(p[i].unicode());
    }
}

// A name of one-byte length (fonts, sheets).
void putShortString(QByteArray &b, const QString &text)
{
    const bool wide = isWide(text.constData(), text.size());
    put8(b, quint8(text.size()));
    put8(b, wide ? 1 : 0);
    putChars(b, text.constData(), text.size(), wide);
}

QByteArray bofData(quint16 kind)
{
    QByteArray d;
    put16(d, 0x0600); // BIFF8
    put16(d, kind);   // 0x0005 workbook globals, 0x0010 worksheet
    put16(d, 0x0DBB); // build
    put16(d, 0x07CC); // year
    put32(d, 0);      // file history
    put32(d, 0x0006); // lowest version that can read the file
    return d;
}

QByteArray xfData(quint16 font, bool style)
{
    QByteArray d;
    put16(d, font);
    put16(d, 0);                       // number format: General
    put16(d, style ? 0xFFF5 : 0x0001); // locked; a style XF, or a cell XF of style 0
    put8(d, 0x20);                     // aligned to the bottom
    put8(d, 0);                        // no rotation
    put8(d, 0);                        // no indent
    put8(d, style && font != 0 ? 0xF4 : 0x00);
    put32(d, 0); // no borders
    put32(d, 0);
    put16(d, 0x20C0); // default pattern colours
    return d;
}

bool writeAll(QIODevice &out, const QByteArray &bytes)
{
    return out.write(bytes) == bytes.size();
}

bool copyFile(QFile &from, QIODevice &out)
{
    if (!from.seek(0))
        return false;
    QByteArray chunk;
    while (!from.atEnd()) {
        chunk = from.read(1 << 20);
        if (chunk.isEmpty() || !writeAll(out, chunk))
            return false;
    }
    return true;
}

QByteArray directoryEntry(const QString &name, quint8 type, quint32 child, quint32 start,
                          quint64 size)
{
    QByteArray e(128, '\0');
    if (type == 0) {
        set32(e, 68, NoStream);
        set32(e, 72, NoStream);
        set32(e, 76, NoStream);
        return e;
    }
    for (int i = 0; i < name.size(); ++i)
        set16(e, 2 * i, name.at(i).unicode());
    set16(e, 64, quint16(2 * (name.size() + 1)));
    e[66] = char(type);
    e[67] = 1; // black
    set32(e, 68, NoStream);
    set32(e, 72, NoStream);
    set32(e, 76, child);
    set32(e, 116, start);
    set32(e, 120, quint32(size));
    set32(e, 124, quint32(size >> 32));
    return e;
}

QByteArray sectorOf(const QList<quint32> &entries, int from)
{
    QByteArray s;
    s.reserve(SectorSize);
    for (int i = 0; i < EntriesPerSector; ++i) {
        const int at = from + i;
        put32(s, at < entries.size() ? entries[at] : FreeSector);
    }
    return s;
}

QByteArray compoundHeader(quint32 fatSectors, quint32 firstDirectory, quint32 firstMiniFat,
                          quint32 miniFatSectors, quint32 firstDifat, quint32 difatSectors,
                          const QList<quint32> &fatSectorList)
{
    QByteArray h;
    h.reserve(SectorSize);
    const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    h.append(reinterpret_cast<const char *>(signature), 8);
    h.append(16, '\0'); // class id
    put16(h, 0x003E);   // minor version
    put16(h, 0x0003);   // major version 3: 512-byte sectors
    put16(h, 0xFFFE);   // little-endian
    put16(h, 9);        // sector size 2^9
    put16(h, 6);        // mini sector size 2^6
    h.append(6, '\0');
    put32(h, 0); // directory sectors (always 0 in version 3)
    put32(h, fatSectors);
    put32(h, firstDirectory);
    put32(h, 0); // transactions not used
    put32(h, MiniStreamCutoff);
    put32(h, firstMiniFat);
    put32(h, miniFatSectors);
    put32(h, firstDifat);
    put32(h, difatSectors);
    for (int i = 0; i < HeaderDifatEntries; ++i)
        put32(h, i < fatSectorList.size() ? fatSectorList[i] : FreeSector);
    return h;
}

QByteArray directorySector(quint32 rootStart, quint64 rootSize, quint32 workbookStart,
                           quint64 workbookSize)
{
    QByteArray d;
    d += directoryEntry(QStringLiteral("Root Entry"), 5, 1, rootStart, rootSize);
    d += directoryEntry(QStringLiteral("Workbook"), 2, NoStream, workbookStart, workbookSize);
    d += directoryEntry(QString(), 0, NoStream, 0, 0);
    d += directoryEntry(QString(), 0, NoStream, 0, 0);
    return d;
}

} // namespace

XlsWriter::XlsWriter(const QStringList &headings)
    : m_headings(headings.mid(0, MaxColumns)), m_columns(int(m_headings.size()))
{
}

XlsWriter::~XlsWriter() = default;

bool XlsWriter::fail(const QString &why)
{
    if (m_error.isEmpty())
        m_error = why;
    return false;
}

bool XlsWriter::ensureOpen()
{
    if (m_sheetFile)
        return m_error.isEmpty();
    m_sheetFile = std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("xls")));
    if (!m_sheetFile->open())
        return fail(m_sheetFile->errorString());
    m_sheetBuffer.reserve(SheetBufferLimit + 64 * 1024);
    beginSheet();
    return true;
}

bool XlsWriter::flushSheetBuffer()
{
    if (m_sheetBuffer.isEmpty())
        return true;
    if (m_sheetFile->write(m_sheetBuffer) != m_sheetBuffer.size())
        return fail(m_sheetFile->errorString());
    m_sheetBuffer.clear();
    return true;
}

void XlsWriter::beginSheet()
{
    const qint64 at = m_sheetFile->pos() + m_sheetBuffer.size();
    const bool first = m_sheetStarts.isEmpty();
    m_sheetStarts.append(at);
    putRecord(m_sheetBuffer, BOF, bofData(0x0010));
    m_dimensionsAt = m_sheetFile->pos() + m_sheetBuffer.size();
    putRecord(m_sheetBuffer, DIMENSIONS, QByteArray(14, '\0')); // filled in by endSheet()
    QByteArray window;
    put16(window, first ? 0x06B6 : 0x00B6); // grid, headers, zeros; the first tab selected
    put16(window, 0);                       // top row
    put16(window, 0);                       // left column
    put16(window, 0x40);                    // grid colour: automatic
    put16(window, 0);
    put16(window, 0); // zoom of page-break preview: default
    put16(window, 0); // zoom: default
    put32(window, 0);
    putRecord(m_sheetBuffer, WINDOW2, window);
    m_rowInSheet = 0;
    writeCells(quint16(m_rowInSheet++), m_headings);
}

bool XlsWriter::endSheet()
{
    putRecord(m_sheetBuffer, EOF_, QByteArray());
    if (!flushSheetBuffer())
        return false;
    QByteArray dims;
    put32(dims, 0);
    put32(dims, quint32(m_rowInSheet));
    put16(dims, 0);
    put16(dims, quint16(m_columns));
    put16(dims, 0);
    const qint64 end = m_sheetFile->pos();
    if (!m_sheetFile->seek(m_dimensionsAt + 4) || m_sheetFile->write(dims) != dims.size() ||
        !m_sheetFile->seek(end))
        return fail(m_sheetFile->errorString());
    return true;
}

void XlsWriter::writeCells(quint16 row, const QStringList &cells)
{
    const int n = std::min(int(cells.size()), m_columns);
    // Room for the ROW record and every cell record at its largest.
    qsizetype room = 20;
    for (int c = 0; c < n; ++c)
        room += 14 + 2 * std::min<qsizetype>(cells.at(c).size(), MaxLabelText);
    if (room == 20 + 14 * n)
        return; // every cell empty: no row at all

    QByteArray &b = m_sheetBuffer;
    const qsizetype start = b.size();
    b.resize(start + room);
    uchar *p = reinterpret_cast<uchar *>(b.data()) + start;
    const auto w16 = [&p](quint16 v) {
        p[0] = uchar(v);
        p[1] = uchar(v >> 8);
        p += 2;
    };
    const auto w32 = [&p](quint32 v) {
        qToLittleEndian(v, p);
        p += 4;
    };

    w16(ROW);
    w16(16);
    w16(row);
    w16(0);
    w16(quint16(m_columns));
    w16(0x00FF); // default height
    w16(0);
    w16(0);
    w32(0x000F0100);

    for (int c = 0; c < n; ++c) {
        const QString &text = cells.at(c);
        if (text.isEmpty())
            continue;
        const qsizetype length = std::min<qsizetype>(text.size(), MaxCellText);
        if (length > MaxLabelText) {
            w16(LABELSST);
            w16(10);
            w16(row);
            w16(quint16(c));
            w16(CellXf);
            w32(m_sstCount);
            appendSharedString(text.left(length));
            continue;
        }
        const QChar *chars = text.constData();
        const bool wide = isWide(chars, length);
        w16(LABEL);
        w16(quint16(9 + (wide ? 2 : 1) * length));
        w16(row);
        w16(quint16(c));
        w16(CellXf);
        w16(quint16(length));
        *p++ = wide ? 1 : 0;
        if (wide) {
            qToLittleEndian<quint16>(chars, length, p);
            p += 2 * length;
        } else {
            for (qsizetype i = 0; i < length; ++i)
                *p++ = uchar(chars[i].unicode());
        }
    }
    b.resize(p - reinterpret_cast<uchar *>(b.data()));
}

bool XlsWriter::flushSstRecord(bool last)
{
    QByteArray head;
    put16(head, m_sstWritten == 0 ? SST : CONTINUE);
    put16(head, quint16(m_sstRecord.size()));
    if (m_sstFile->write(head) != head.size() ||
        m_sstFile->write(m_sstRecord) != m_sstRecord.size())
        return fail(m_sstFile->errorString());
    m_sstWritten += head.size() + m_sstRecord.size();
    m_sstRecord.clear();
    if (!last)
        m_sstRecord.reserve(MaxRecordData);
    return true;
}

void XlsWriter::appendSharedString(const QString &text)
{
    if (!m_sstFile) {
        m_sstFile =
            std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("xlssst")));
        if (!m_sstFile->open()) {
            fail(m_sstFile->errorString());
            return;
        }
        m_sstRecord.reserve(MaxRecordData);
        m_sstRecord.append(8, '\0'); // string counts, filled in by finish()
    }
    const bool wide = isWide(text.constData(), text.size());
    const int charSize = wide ? 2 : 1;
    // The length and flags of a string never part; its first character
    // stays with them.
    if (MaxRecordData - m_sstRecord.size() < 3 + charSize)
        flushSstRecord(false);
    if (m_sstCount % 8 == 0)
        m_sstMarks.append(
            {quint32(m_sstWritten + 4 + m_sstRecord.size()), quint16(4 + m_sstRecord.size())});
    put16(m_sstRecord, quint16(text.size()));
    put8(m_sstRecord, wide ? 1 : 0);
    qsizetype at = 0;
    const qsizetype n = text.size();
    for (;;) {
        qsizetype take =
            std::min<qsizetype>(n - at, (MaxRecordData - m_sstRecord.size()) / charSize);
        // Keep the two halves of a surrogate pair in one record.
        if (take > 0 && at + take < n && text.at(at + take - 1).isHighSurrogate())
            --take;
        putChars(m_sstRecord, text.constData() + at, take, wide);
        at += take;
        if (at == n)
            break;
        flushSstRecord(false);
        put8(m_sstRecord, wide ? 1 : 0); // a continued string restates its flags
    }
    ++m_sstCount;
}

bool XlsWriter::addRow(const QStringList &cells)
{
    if (m_finished)
        return fail(QStringLiteral("workbook already finished"));
    if (!ensureOpen())
        return false;
    if (m_rowInSheet == MaxRowsPerSheet) {
        if (!endSheet())
            return false;
        beginSheet();
    }
    writeCells(quint16(m_rowInSheet++), cells);
    ++m_rows;
    if (m_sheetBuffer.size() >= SheetBufferLimit)
        return flushSheetBuffer();
    return m_error.isEmpty();
}

QByteArray XlsWriter::globalsPrefix(const QList<quint32> &sheetOffsets) const
{
    QByteArray g;
    putRecord(g, BOF, bofData(0x0005));
    QByteArray d;
    put16(d, 1200); // text is UTF-16
    putRecord(g, CODEPAGE, d);
    d.clear();
    put16(d, 0);      // left
    put16(d, 0);      // top
    put16(d, 0x4000); // width
    put16(d, 0x2000); // height
    put16(d, 0x0038); // scroll bars and sheet tabs shown
    put16(d, 0);      // active sheet
    put16(d, 0);      // first visible tab
    put16(d, 1);      // selected tabs
    put16(d, 0x0258); // tab bar width ratio
    putRecord(g, WINDOW1, d);
    d.clear();
    put16(d, 0); // dates counted from 1900
    putRecord(g, DATEMODE, d);
    // Five fonts: the format skips index 4, so these are fonts 0-3 and 5.
    for (int i = 0; i < 5; ++i) {
        d.clear();
        put16(d, 240);    // 12 points
        put16(d, 0);      // plain
        put16(d, 0x7FFF); // automatic colour
        put16(d, 400);    // normal weight
        put16(d, 0);
        put8(d, 0);
        put8(d, 0);
        put8(d, 134); // Chinese (GB2312) character set
        put8(d, 0);
        putShortString(d, QStringLiteral("宋体"));
        putRecord(g, FONT, d);
    }
    for (int i = 0; i < 15; ++i)
        putRecord(g, XF, xfData(i == 0 ? 0 : (i < 3 ? 1 : (i < 5 ? 2 : 0)), true));
    putRecord(g, XF, xfData(0, false));
    d.clear();
    put16(d, 0x8000); // built-in style of XF 0
    put8(d, 0);       // Normal
    put8(d, 0xFF);
    putRecord(g, STYLE, d);
    for (int i = 0; i < sheetOffsets.size(); ++i) {
        d.clear();
        put32(d, sheetOffsets[i]);
        put8(d, 0); // visible
        put8(d, 0); // worksheet
        putShortString(d, QStringLiteral("Sheet%1").arg(i + 1));
        putRecord(g, BOUNDSHEET, d);
    }
    return g;
}

QByteArray XlsWriter::extSst(quint32 sstStart) const
{
    // Strings per bucket: a multiple of 8 that keeps the index in one record.
    const quint32 perBucket = 8 * std::max<quint32>(1, (m_sstCount + 8191) / 8192);
    const quint32 buckets = (m_sstCount + perBucket - 1) / perBucket;
    QByteArray d;
    put16(d, quint16(perBucket));
    for (quint32 b = 0; b < buckets; ++b) {
        const auto &mark = m_sstMarks.at(int(b * perBucket / 8));
        put32(d, sstStart + mark.first);
        put16(d, mark.second);
        put16(d, 0);
    }
    QByteArray r;
    putRecord(r, EXTSST, d);
    return r;
}

bool XlsWriter::finish(QIODevice &out)
{
    if (m_finished)
        return fail(QStringLiteral("workbook already finished"));
    if (!ensureOpen())
        return false;
    m_finished = true;
    if (!endSheet())
        return false;
    if (m_sstFile) {
        if (!flushSstRecord(true))
            return false;
        QByteArray counts;
        put32(counts, m_sstCount);
        put32(counts, m_sstCount);
        if (!m_sstFile->seek(4) || m_sstFile->write(counts) != counts.size() || !m_sstFile->flush())
            return fail(m_sstFile->errorString());
    }
    if (!m_sheetFile->flush())
        return fail(m_sheetFile->errorString());

    const int sheets = int(m_sheetStarts.size());
    const qint64 prefixSize = globalsPrefix(QList<quint32>(sheets, 0)).size();
    const QByteArray ext = m_sstCount ? extSst(quint32(prefixSize)) : QByteArray();
    QByteArray eof;
    putRecord(eof, EOF_, QByteArray());
    const qint64 globalsSize = prefixSize + m_sstWritten + ext.size() + eof.size();
    const qint64 streamSize = globalsSize + m_sheetFile->size();
    // A version 3 compound file addresses at most about 2 GB.
    if (streamSize > (qint64(1) << 31) - 1024 * 1024)
        return fail(QStringLiteral("workbook too large"));
    QList<quint32> offsets;
    for (qint64 start : std::as_const(m_sheetStarts))
        offsets.append(quint32(globalsSize + start));
    const QByteArray prefix = globalsPrefix(offsets);

    const auto writeStream = [&](QIODevice &to) {
        return writeAll(to, prefix) && (!m_sstFile || copyFile(*m_sstFile, to)) &&
               writeAll(to, ext) && writeAll(to, eof) && copyFile(*m_sheetFile, to);
    };
    const auto failed = [&] { return fail(out.errorString()); };

    if (streamSize < MiniStreamCutoff) {
        // A small stream lives in the mini stream: 64-byte sectors kept in
        // the root entry's own stream.
        const quint32 miniSectors = quint32((streamSize + MiniSectorSize - 1) / MiniSectorSize);
        const quint32 containerSize = miniSectors * MiniSectorSize;
        const quint32 containerSectors = (containerSize + SectorSize - 1) / SectorSize;
        const quint32 miniFat = containerSectors;
        const quint32 directory = miniFat + 1;
        const quint32 fat = directory + 1;
        QList<quint32> entries;
        for (quint32 i = 0; i < containerSectors; ++i)
            entries.append(i + 1 < containerSectors ? i + 1 : EndOfChain);
        entries.append(EndOfChain); // mini FAT
        entries.append(EndOfChain); // directory
        entries.append(FatSector);
        QList<quint32> miniEntries;
        for (quint32 i = 0; i < miniSectors; ++i)
            miniEntries.append(i + 1 < miniSectors ? i + 1 : EndOfChain);
        if (!writeAll(out, compoundHeader(1, directory, miniFat, 1, EndOfChain, 0, {fat})) ||
            !writeStream(out))
            return failed();
        const qint64 padding = qint64(containerSectors) * SectorSize - streamSize;
        if (!writeAll(out, QByteArray(padding, '\0')) || !writeAll(out, sectorOf(miniEntries, 0)) ||
            !writeAll(out, directorySector(0, containerSize, 0, quint64(streamSize))) ||
            !writeAll(out, sectorOf(entries, 0)))
            return failed();
        return true;
    }

    // The stream's sectors first, then the directory, the FAT and, for big
    // files, the DIFAT sectors that list FAT sectors past the header's 109.
    const quint32 streamSectors = quint32((streamSize + SectorSize - 1) / SectorSize);
    quint32 fatCount = 1, difatCount = 0;
    for (;;) {
        const quint32 total = streamSectors + 1 + fatCount + difatCount;
        const quint32 fat = (total + EntriesPerSector - 1) / EntriesPerSector;
        const quint32 difat =
            fat > HeaderDifatEntries
                ? (fat - HeaderDifatEntries + EntriesPerSector - 2) / (EntriesPerSector - 1)
                : 0;
        if (fat == fatCount && difat == difatCount)
            break;
        fatCount = fat;
        difatCount = difat;
    }
    const quint32 directory = streamSectors;
    const quint32 firstFat = directory + 1;
    const quint32 firstDifat = firstFat + fatCount;

    QList<quint32> entries;
    entries.reserve(int(fatCount * EntriesPerSector));
    for (quint32 i = 0; i < streamSectors; ++i)
        entries.append(i + 1 < streamSectors ? i + 1 : EndOfChain);
    entries.append(EndOfChain);
    QList<quint32> fatSectors;
    for (quint32 i = 0; i < fatCount; ++i) {
        entries.append(FatSector);
        fatSectors.append(firstFat + i);
    }
    for (quint32 i = 0; i < difatCount; ++i)
        entries.append(DifatSector);

    if (!writeAll(out,
                  compoundHeader(fatCount, directory, EndOfChain, 0,
                                 difatCount ? firstDifat : EndOfChain, difatCount, fatSectors)) ||
        !writeStream(out))
        return failed();
    const qint64 padding = qint64(streamSectors) * SectorSize - streamSize;
    if (!writeAll(out, QByteArray(padding, '\0')) ||
        !writeAll(out, directorySector(EndOfChain, 0, 0, quint64(streamSize))))
        return failed();
    for (quint32 i = 0; i < fatCount; ++i)
        if (!writeAll(out, sectorOf(entries, int(i * EntriesPerSector))))
            return failed();
    for (quint32 i = 0; i < difatCount; ++i) {
        QList<quint32> list;
        const int from = HeaderDifatEntries + int(i) * (EntriesPerSector - 1);
        for (int k = 0; k < EntriesPerSector - 1; ++k)
            list.append(from + k < fatSectors.size() ? fatSectors[from + k] : FreeSector);
        list.append(i + 1 < difatCount ? firstDifat + i + 1 : EndOfChain);
        if (!writeAll(out, sectorOf(list, 0)))
            return failed();
    }
    return true;
}
