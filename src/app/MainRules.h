#pragma once

#include "context/Session.h"
#include "data/Refusal.h"

class Database;

// The main window's three rules.

enum class SaleScreen { Standard, Scan, Retail, External };

// Sale screen chosen by the sale mode: "1" scan, "2" retail, "3" external,
// anything else the standard screen.
SaleScreen SaleScreenFor(const QString &saoMaYes);

// The catalogue is offered only in sale mode "1", read afresh from the database.
Check ProductsRefusal(Database &db);

// Only administrators (group "99") open the settings dialog.
Check SettingsRefusal(const LoginValues &login);
