#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// Text rules applied to what the operator types.

// Every ' becomes the full-width ’: the form in which typed text is stored.
QString ReplaceQuote(const QString &text);
// True when every character is a digit 0-9 or '.'; true for the empty text.
bool IsNumberText(const QString &text);
// True when every character is a digit 0-9; true for the empty text.
bool IsDigitsText(const QString &text);
// Trimmed and quote-replaced: the usual treatment of an edit box's text.
QString CleanText(const QString &text);
// Shortest decimal text of a number, at most 15 significant digits and
// never in exponent form ("12.5", "3", "1234567.89").
QString NumberText(double value);
// A stored value as grids and exports show it: numbers as NumberText,
// everything else as its text, NULL as the empty text.
QString ValueText(const QVariant &value);
// A total shown with two decimals ("0.00").
QString TotalText(double value);
// `text` with \, % and _ escaped for "LIKE ? ESCAPE '\'": what the
// operator types is searched as it stands, never as a wildcard.
QString LikeEscaped(const QString &text);
// The clause that goes with LikeEscaped, with a leading blank.
inline const QString LikeEscape = QStringLiteral(" ESCAPE '\\'");
// True when a key typed into an amount box may go in: an ASCII digit,
// backspace, or the first point of the text.
bool AcceptsAmountKey(const QString &currentText, QChar typed);
// Parses a decimal number; nothing for text that is not one.
std::optional<double> ParseNumber(const QString &text);
