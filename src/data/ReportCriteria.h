#pragma once

#include "data/QuerySource.h"
#include "data/Refusal.h"

#include <QDate>
#include <QString>

class Database;

// The entry of the shop and operator lists that means "every one".
inline const QString AllChoice = QStringLiteral("全部");

// The days a report may ask for: four-digit years whose following day is
// still one (dates are compared as "yyyy-MM-dd HH:mm:ss" texts).
inline const QDate FirstReportDay = QDate(1900, 1, 1);
inline const QDate LastReportDay = QDate(9998, 12, 31);

// What a list or report window asks for: the days from `startDay` to
// `endDay`, both included, and optionally one shop, one operator and one
// shop assistant by name (empty or 全部: every one).
struct ReportCriteria {
    QDate startDay;
    QDate endDay;
    QString shop;
    QString operatorName;
    QString salesPerson{};
    // An end day before the start day is refused. A window that takes any
    // two days clears this: such a range then simply holds no row.
    bool refuseReversed = true;

    // Refused when a day is missing or out of range, or (with
    // refuseReversed) when the end day is before the start day; the focus
    // goes to the date box concerned (dtpStart, dtpEnd).
    Check check() const;
    // "yyyy-MM-dd 00:00:00" of the start day: rows stamped at or after it count.
    QString fromText() const;
    // "yyyy-MM-dd 00:00:00" of the day after the end day: rows stamped before it count.
    QString untilText() const;
    bool anyShop() const;
    bool anyOperator() const;
    bool anySalesPerson() const;
};

// How the shop or operator of a row is compared with the name chosen.
enum class MatchBy {
    Id,   // the row's id column with the id of the name (GetStoreID, GetAdminID)
    Name, // the row's name column with the name itself
};

// The columns of a report's select that the criteria apply to, as SQL
// identifiers ("SaleDate" or "s.SaleDate"). An empty shop or operator column
// leaves that choice out of the condition.
struct ReportColumns {
    QString date{};
    QString shop{};
    MatchBy shopBy = MatchBy::Id;
    QString operatorColumn{};
    MatchBy operatorBy = MatchBy::Id;
    QString salesPerson{};
    MatchBy salesPersonBy = MatchBy::Id;
};

// The condition of `criteria` on `columns`, without "WHERE": the date range
// (date >= ? AND date < ?) and the shop, operator and shop assistant
// chosen, joined with AND, every value bound. A name that matches no shop or operator gives a
// condition no row meets. Returns the refusal of criteria.check() (`where`
// stays empty). Throws DbError when a column is no plain identifier or a
// lookup fails.
Check BuildReportWhere(Database &db, const ReportCriteria &criteria, const ReportColumns &columns,
                       QuerySource &where);

// The names the criteria lists offer after 全部: the shown shops, every
// operator and the shown shop assistants, in the order they were entered.
QuerySource ReportShopNames();
QuerySource ReportOperatorNames();
QuerySource ReportSalesPersonNames();
