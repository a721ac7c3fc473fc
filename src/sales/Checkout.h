#pragma once

#include "data/Refusal.h"

#include <QDateTime>
#include <QString>

class Database;

// The figures a member sale screen hands to its checkout: the bill as the
// screen shows it.
struct BillFigures {
    QString card;     // card number shown (Label16)
    QString shopName; // shop chosen (ComboBox4)
    QString total;    // amount due (LabelMoneyAll, "0.00")
    QString points;   // points of the bill (JifenAll, "0.00")
    QString balance;  // stored-value balance shown (Label20)
};

// What the operator typed in the checkout dialog, plus who and when.
struct PaymentInput {
    QString cash;    // edt_Cash
    QString card;    // edt_Card: the part paid from stored value
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

    CheckoutResult Run(const BillFigures &bill, const PaymentInput &payment);

    static QString BillChangedMessage();
    // The message when the stored-value part exceeds the balance or the due.
    static QString CardLimitMessage(const QString &card, const QString &balance,
                                    const QString &due);

private:
    Database &m_db;
};
