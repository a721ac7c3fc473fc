#include "app/TModiPwdForm.h"

#include "app/PasswordChange.h"
#include "widgets/FormWidget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace
{

// The dialog's picture: a key on a blue tile.
QPixmap keyPicture()
{
    QPixmap pixmap(72, 72);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 72);
    g.setColorAt(0, QColor(92, 150, 210));
    g.setColorAt(1, QColor(44, 96, 160));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 68, 68), 12, 12);
    p.setPen(QPen(QColor(255, 214, 90), 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(26, 30), 11, 11);
    p.drawLine(QPointF(34, 38), QPointF(54, 58));
    p.drawLine(QPointF(46, 50), QPointF(52, 44));
    p.drawLine(QPointF(51, 55), QPointF(57, 49));
    return pixmap;
}

} // namespace

TModiPwdForm::TModiPwdForm(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TModiPwdForm"));
    setWindowTitle(QStringLiteral("修改密码"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(keyPicture());
    Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *group = new QGroupBox(QStringLiteral("   修改密码   "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    const auto edit = [group](const char *name, bool secret) {
        auto *e = new QLineEdit(group);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(20);
        e->setMinimumWidth(180);
        if (secret)
            e->setEchoMode(QLineEdit::Password);
        return e;
    };
    Edit1 = edit("Edit1", false);
    Edit2 = edit("Edit2", true);
    Edit3 = edit("Edit3", true);
    auto *fields = new QGridLayout(group);
    fields->setContentsMargins(18, 20, 18, 16);
    fields->setVerticalSpacing(10);
    const QStringList captions = {QStringLiteral("操作员："), QStringLiteral("密码："),
                                  QStringLiteral("重复：")};
    const QList<QLineEdit *> edits = {Edit1, Edit2, Edit3};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(captions[i], group);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setBuddy(edits[i]);
        fields->addWidget(label, i, 0, Qt::AlignRight);
        fields->addWidget(edits[i], i, 1);
    }

    BtnOk = new QPushButton(QStringLiteral("   确   定   "), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("   取   消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(Image1);
    top->addWidget(group, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addSpacing(16);
    buttons->addWidget(BtnCancel);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 16);
    layout->setSpacing(14);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(BtnOk, &QPushButton::clicked, this, &TModiPwdForm::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TModiPwdForm::BtnCancelClick);
}

void TModiPwdForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Edit1->setText(m_ctx.session.login.MyAdminName);
    Edit2->setFocus();
}

void TModiPwdForm::BtnOkClick()
{
    Check refusal;
    const bool ran = Guarded(m_ctx.prompter, [&] {
        refusal = ChangeOperatorPassword(m_ctx.db, m_ctx.session.login, Edit1->text(),
                                         Edit2->text(), Edit3->text());
    });
    if (!ran)
        return;
    if (refusal) {
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    m_ctx.prompter.information(PasswordChangedMessage);
    Edit2->clear();
    Edit3->clear();
    accept();
    emit passwordChanged();
}

void TModiPwdForm::BtnCancelClick()
{
    Edit2->clear();
    Edit3->clear();
}
