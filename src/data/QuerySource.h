#pragma once

#include <QString>
#include <QVariantList>

// A select with its bound values: what a grid shows and what an export of
// that grid reads again.
struct QuerySource {
    QString sql;
    QVariantList binds;

    bool isEmpty() const { return sql.isEmpty(); }
};
