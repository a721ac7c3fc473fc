#pragma once

#include "widgets/DataGridWidget.h"
#include "support/GuiInput.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// A sale screen's controls by object name, and the steps an operator takes
// on them. `cardOkButton` is the screen's button that checks the card.
struct SaleScreenDriver {
    SaleScreenDriver(QWidget &screen, const char *cardOkButton)
        : window(screen), cardOk(cardOkButton)
    {
    }
    template <typename T = QWidget> T *get(const char *name) const
    {
        T *w = window.findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qWarning("no control %s", name);
        return w;
    }
    QLineEdit *edit(const char *name) const { return get<QLineEdit>(name); }
    QComboBox *list(const char *name) const { return get<QComboBox>(name); }
    QPushButton *button(const char *name) const { return get<QPushButton>(name); }
    QString text(const char *name) const { return edit(name)->text(); }
    QString label(const char *name) const { return get<QLabel>(name)->text(); }
    DataGridWidget *grid() const { return get<DataGridWidget>("DBGrid2"); }

    void click(const char *name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    void type(const char *name, const QString &text) const
    {
        QLineEdit *e = edit(name);
        e->clear();
        TypeText(e, text);
    }
    void swipe(const QString &card) const
    {
        type("UserCard", card);
        click(cardOk);
    }

    QWidget &window;
    const char *cardOk;
};

// A column of the member holding `card`, as stored.
inline QVariant MemberValue(TestDatabase &t, const char *column, const QString &card)
{
    return t.value(QStringLiteral("SELECT %1 FROM User_Info WHERE User_Card = ?")
                       .arg(QString::fromLatin1(column)),
                   {card});
}
