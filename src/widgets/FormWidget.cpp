#include "widgets/FormWidget.h"

#include "data/Database.h"
#include "platform/Prompter.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

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

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void CenterOnScreen(QWidget *form)
{
    if (const QScreen *s = form->screen())
        form->move(s->availableGeometry().center() - form->rect().center());
}

QPixmap TilePicture(int size, const QString &text, const QColor &top, const QColor &bottom)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, size, size);
    shade.setColorAt(0, top);
    shade.setColorAt(1, bottom);
    p.setBrush(shade);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, size - 4, size - 4), size / 5.0, size / 5.0);
    QFont f;
    f.setPixelSize(size * 11 / 20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, text);
    return pixmap;
}
