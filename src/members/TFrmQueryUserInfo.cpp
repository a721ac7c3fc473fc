#include "members/TFrmQueryUserInfo.h"

#include "members/MemberRules.h"
#include "widgets/DataGridWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QVBoxLayout>

TFrmQueryUserInfo::TFrmQueryUserInfo(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TFrmQueryUserInfo"));
    setWindowTitle(QStringLiteral("会员信息检索"));

    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    edtUserCard = new QLineEdit(panel);
    edtUserCard->setObjectName(QStringLiteral("edtUserCard"));
    edtUserName = new QLineEdit(panel);
    edtUserName->setObjectName(QStringLiteral("edtUserName"));
    auto *top = new QHBoxLayout(panel);
    top->addWidget(new QLabel(QStringLiteral("会员卡号："), panel));
    top->addWidget(edtUserCard);
    top->addSpacing(20);
    top->addWidget(new QLabel(QStringLiteral("会员姓名："), panel));
    top->addWidget(edtUserName);
    top->addStretch();

    DBGrid1 = new DataGridWidget(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(DBGrid1, 1);
    resize(860, 480);

    connect(edtUserCard, &QLineEdit::textEdited, this, &TFrmQueryUserInfo::edtUserCardChange);
    connect(edtUserName, &QLineEdit::textEdited, this, &TFrmQueryUserInfo::edtUserNameChange);
    connect(DBGrid1, &DataGridWidget::rowActivated, this, &TFrmQueryUserInfo::DBGrid1DblClick);
}

std::optional<QString> TFrmQueryUserInfo::PickMember()
{
    m_picked.reset();
    exec();
    return m_picked;
}

void TFrmQueryUserInfo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmQueryUserInfo::list(const QuerySource &source)
{
    Guarded(m_ctx.prompter, [&] {
        DBGrid1->setSource(m_ctx.db, source);
        DBGrid1->setColumnWidth(0, 30);
    });
}

void TFrmQueryUserInfo::FormShow()
{
    m_picked.reset();
    list(MemberLookupSource(LookupFilter::All));
}

void TFrmQueryUserInfo::edtUserCardChange()
{
    list(MemberLookupSource(LookupFilter::Card, edtUserCard->text().trimmed()));
}

void TFrmQueryUserInfo::edtUserNameChange()
{
    list(MemberLookupSource(LookupFilter::Name, edtUserName->text().trimmed()));
}

void TFrmQueryUserInfo::DBGrid1DblClick()
{
    if (!DBGrid1->hasCurrentRow())
        return;
    const QString id = DBGrid1->currentValue(QStringLiteral("序号")).toString();
    std::optional<Member> member;
    if (!Guarded(m_ctx.prompter, [&] { member = LoadMember(m_ctx.db, id.toLongLong()); }))
        return;
    if (!member)
        return;
    const QString card = member->card.trimmed();
    edtUserCard->clear();
    edtUserName->clear();
    list(MemberLookupSource(LookupFilter::Nothing));
    m_picked = card;
    if (isModal())
        accept();
    else
        hide();
    emit memberPicked(card);
}
