#pragma once

#include "data/QuerySource.h"

// The member texts the search index holds.
enum class SearchedText { Name, Card };
enum class SearchOrder { OldestFirst, NewestFirst }; // by User_ID

// The members whose name or card contains `text`, exactly as
// "LIKE '%text%'" finds them (ASCII letters in either case; %, _ and \ are
// plain characters), answered from the search index instead of reading every
// member: `select` ("SELECT <columns of User_Info>", written as User_Info.*
// for all of them) followed by the source, the condition and the order. An
// empty text finds every member.
QuerySource MembersContaining(const QString &select, SearchedText which, const QString &text,
                              SearchOrder order);
