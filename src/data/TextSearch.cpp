#include "data/TextSearch.h"

#include "data/TextRules.h"

namespace
{

// The index's query for the text bound to its four ?: the one token of
// a text of one or two characters, or every three-character piece of a
// longer one, all required; cut and written exactly as the index's own
// view (User_SearchText) cuts and writes the members' texts.
QString IndexQuery(const QString &prefix)
{
    return QStringLiteral("(SELECT group_concat(t, ' AND ') FROM ("
                          "SELECT '%1' || hex(substr(lower(?), n, 3)) AS t FROM Search_Pos "
                          "WHERE n <= length(?) - 2 "
                          "UNION ALL SELECT '%1' || hex(lower(?)) WHERE length(?) < 3))")
        .arg(prefix);
}

} // namespace

QuerySource MembersContaining(const QString &select, SearchedText which, const QString &text,
                              SearchOrder order)
{
    const QString column =
        which == SearchedText::Name ? QStringLiteral("User_Name") : QStringLiteral("User_Card");
    const QString direction =
        order == SearchOrder::NewestFirst ? QStringLiteral(" DESC") : QString();
    // The index narrows the members down; LIKE then decides, so the rows are
    // exactly those LIKE finds.
    const QString like =
        QStringLiteral("User_Info.%1 LIKE '%' || ? || '%'").arg(column) + LikeEscape;
    if (text.isEmpty()) // LIKE '%%': every member (names and cards are never NULL)
        return {select + QStringLiteral(" FROM User_Info ORDER BY User_Info.User_ID") + direction,
                {}};
    const QString prefix = which == SearchedText::Name ? QStringLiteral("n") : QStringLiteral("c");
    return {select +
                QStringLiteral(" FROM User_Search JOIN User_Info ON User_Info.User_ID = "
                               "User_Search.rowid WHERE User_Search MATCH ") +
                IndexQuery(prefix) + QStringLiteral(" AND ") + like +
                QStringLiteral(" ORDER BY User_Search.rowid") + direction,
            {text, text, text, text, LikeEscaped(text)}};
}
