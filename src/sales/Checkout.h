#pragma once

#include "data/Money.h"
#include "data/Refusal.h"
#include "sales/OpenBill.h"

#include <QDateTime>
#include <QString>

class Database;

// A member checkout as the sale screen and its payment dialog hand it over:
// the member the screen accepted, the bill as the screen showed it, and the
// amounts the dialog parsed.
struct CheckoutRequest {
    qint64 memberId = 0;
    QString shopName;      // the shop chosen on the screen (ComboBox4)
    OpenBill::Totals bill; // the open bill as shown and confirmed
    Money cash;
    Money stored;    // paid from the member's stored value
    int adminId = 0; // the logged-in operator
    QDateTime now;
};

struct CheckoutResult {
    std::optional<Refusal> refusal; // set: nothing was written
    qint64 saleId = 0;              // the new S_Sale row otherwise
    // The member's open lines no longer add up to the bill shown: the
    // screen must show the bill afresh before anything is paid.
    bool billChanged = false;
};

// The member checkout: stores the sale, debits the stored value, copies the
// open lines into the sale's detail lines, adds the bill's points and
// amount to the member and deletes the open lines, all in one transaction.
// A refusal writes nothing; a database failure throws DbError and leaves
// everything as it was.
class Checkout
{
public:
    explicit Checkout(Database &db) : m_db(db) {}

    CheckoutResult Run(const CheckoutRequest &request);

    static QString BillChangedMessage();

private:
    Database &m_db;
};
