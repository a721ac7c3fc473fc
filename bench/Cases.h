#pragma once

#include <QString>

class Bench;
class Database;

// Values the cases need from the database at hand, picked by the bench
// itself: the member with the most sales, one of that member's sales and
// sold lines, members to pay, recharge and redeem with.
struct Picks {
    qint64 busyMember = 0;
    QString busyCard;
    qint64 busySale = 0;
    qint64 busyLine = 0;
    qint64 payer = 0; // enough stored value and points for every round
    QString payerCard;
};

Picks PickValues(Database &db);

// Every window's reads, window by window.
void ReadCases(Bench &bench, const Picks &picks);
// The writing operations, on a scratch copy of the database.
void WriteCases(Bench &bench, Database &scratch, const Picks &picks);
