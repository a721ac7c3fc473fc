#pragma once

#include "support/TestDatabase.h"

// The demo database without its redemption records: the redemption tests
// count records (and number them) from an empty history.
class DemoWithoutRedemptions : public TestDatabase
{
public:
    DemoWithoutRedemptions() : TestDatabase(Content::Demo)
    {
        db.exec(QStringLiteral("DELETE FROM User_Cash"));
        db.exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = 'User_Cash'"));
    }
};
