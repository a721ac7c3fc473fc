#pragma once

#include "data/QuerySource.h"
#include "data/Refusal.h"

class Database;
class Prompter;
class QColor;
class QComboBox;
class QPixmap;
class QLineEdit;
class QPushButton;
class QWidget;

// Small helpers the windows share.

// Fills a drop-down list with the first column of a select (the list is
// emptied first). Throws DbError.
void FillComboBox(QComboBox *box, Database &db, const QuerySource &source);

// An edit box named `name` taking at most `maxLength` characters, shown as
// '*' when it holds a password.
QLineEdit *MakeLineEdit(QWidget *parent, const char *name, int maxLength, bool password = false);

// Shows a refusal's message and moves the focus to the named control of
// `form` (selecting the text of an edit box).
void ShowRefusal(Prompter &prompter, QWidget *form, const Refusal &refusal);

// Moves the focus to the named control of `form`.
void FocusControl(QWidget *form, const QString &name);

// A push button named `name` that Enter does not press unless it has the
// focus (no default button).
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption);

// Places `form` in the middle of the screen it is on.
void CenterOnScreen(QWidget *form);

// A square picture of `size` pixels: `text` in white on a rounded tile
// shaded from `top` to `bottom` (the same colour for a flat tile).
QPixmap TilePicture(int size, const QString &text, const QColor &top, const QColor &bottom);
