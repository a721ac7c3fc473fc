#pragma once

#include "widgets/DataGridWidget.h"

#include <QApplication>
#include <QtTest>

// Driving windows in tests as an operator would.

// The control named `name` under `in`; the test program stops when there
// is none (a renamed control must not pass as a missing one).
template <typename W> W *FindControl(const QObject *in, const char *name)
{
    W *w = in->findChild<W *>(QLatin1String(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// Types `text` into `w` key by key; characters beyond ASCII arrive as key
// events carrying their text, as an input method delivers them.
inline void TypeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(w, char(c.unicode()));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

inline QPoint RowPoint(DataGridWidget *grid, int row)
{
    return grid->visualRect(grid->model()->index(row, 1)).center();
}

inline void ClickRow(DataGridWidget *grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, RowPoint(grid, row));
}

// A double-click is a press and release followed by the double-click event,
// as the window system delivers it.
inline void DoubleClickRow(DataGridWidget *grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, RowPoint(grid, row));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, RowPoint(grid, row));
}

// Every value of one column of a grid, by its title, all rows fetched.
inline QStringList GridColumn(DataGridWidget *grid, const QString &title)
{
    QStringList out;
    const int n = grid->totalRowCount();
    for (int row = 0; row < n; ++row)
        out << grid->value(row, title).toString();
    return out;
}
