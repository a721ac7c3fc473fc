#include "data/FormWidget.h"

#include "data/Database.h"
#include "platform/Prompter.h"

#include <QComboBox>
#include <QLineEdit>

void FillComboBox(QComboBox *box, Database &db, const QuerySource &source)
{
    QSqlQuery q = db.exec(source.sql, source.binds);
    QStringList items;
    while (q.next())
        items << q.value(0).toString();
    box->clear();
    box->addItems(items);
}

QLineEdit *MakeLineEdit(QWidget *parent, const char *name, int maxLength, bool password)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    if (password)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

void FocusControl(QWidget *form, const QString &name)
{
    if (name.isEmpty() || !form)
        return;
    QWidget *w = form->findChild<QWidget *>(name);
    if (!w)
        return;
    w->setFocus();
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->selectAll();
}

void ShowRefusal(Prompter &prompter, QWidget *form, const Refusal &refusal)
{
    prompter.information(refusal.message);
    FocusControl(form, refusal.focus);
}
