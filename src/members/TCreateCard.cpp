#include "members/TCreateCard.h"

#include "context/AppInfo.h"
#include "members/MemoWidget.h"
#include "widgets/FormWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace
{

QComboBox *makeList(QWidget *parent, const char *name, int width)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setMinimumWidth(width);
    box->setMaxVisibleItems(15);
    return box;
}
} // namespace

TCreateCard::TCreateCard(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TCreateCard"));
    setWindowTitle(QStringLiteral("建卡"));

    auto *heading = new QLabel(QStringLiteral(" - - -  建  卡 - - -"), this);
    heading->setObjectName(QStringLiteral("Label17"));
    heading->setAlignment(Qt::AlignCenter);
    QFont big = heading->font();
    big.setPointSize(16);
    big.setBold(true);
    heading->setFont(big);

    auto *group = new QGroupBox(QStringLiteral("   建   卡   "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));

    UserCard = MakeLineEdit(group, "UserCard", 18);
    UserName = MakeLineEdit(group, "UserName", 20);
    UserSex = makeList(group, "UserSex", 80);
    UserYear = makeList(group, "UserYear", 70);
    UserMonth = makeList(group, "UserMonth", 50);
    UserDay = makeList(group, "UserDay", 50);
    UserTel = MakeLineEdit(group, "UserTel", 30);
    UserMobi = MakeLineEdit(group, "UserMobi", 30);
    UserAddress = MakeLineEdit(group, "UserAddress", 100);
    UserWork = MakeLineEdit(group, "UserWork", 20);
    UserWenhua = MakeLineEdit(group, "UserWenhua", 20);
    UserLikeColor = MakeLineEdit(group, "UserLikeColor", 20);
    UserSize = MakeLineEdit(group, "UserSize", 20);
    UserYaowei = MakeLineEdit(group, "UserYaowei", 20);
    Label5 = new QLabel(group);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label14 = new QLabel(group);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label16 = new QLabel(group);
    Label16->setObjectName(QStringLiteral("Label16"));
    auto *memo = new MemoWidget(150, group);
    memo->setObjectName(QStringLiteral("UserOther"));
    memo->setFixedHeight(60);
    UserOther = memo;
    dtp_CardDate = new QDateEdit(group);
    dtp_CardDate->setObjectName(QStringLiteral("dtp_CardDate"));
    dtp_CardDate->setCalendarPopup(true);
    dtp_CardDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edt_FirstPwd = MakeLineEdit(group, "edt_FirstPwd", 20, true);
    edt_ConfirmPwd = MakeLineEdit(group, "edt_ConfirmPwd", 20, true);
    chk_CardStop = new QCheckBox(QStringLiteral("卡锁定"), group);
    chk_CardStop->setObjectName(QStringLiteral("chk_CardStop"));

    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    const auto caption = [&](const QString &text, int row, int column) {
        auto *label = new QLabel(text, group);
        grid->addWidget(label, row, column, Qt::AlignRight);
        return label;
    };
    caption(QStringLiteral("卡号："), 0, 0);
    grid->addWidget(UserCard, 0, 1);
    caption(QStringLiteral("姓名："), 0, 2);
    grid->addWidget(UserName, 0, 3);

    caption(QStringLiteral("性别："), 1, 0);
    grid->addWidget(UserSex, 1, 1, Qt::AlignLeft);
    caption(QStringLiteral("出生日期："), 1, 2);
    auto *birth = new QHBoxLayout;
    birth->addWidget(UserYear);
    birth->addWidget(new QLabel(QStringLiteral("年"), group));
    birth->addWidget(UserMonth);
    birth->addWidget(new QLabel(QStringLiteral("月"), group));
    birth->addWidget(UserDay);
    birth->addWidget(new QLabel(QStringLiteral("日"), group));
    birth->addStretch();
    grid->addLayout(birth, 1, 3);

    caption(QStringLiteral("电话："), 2, 0);
    grid->addWidget(UserTel, 2, 1);
    caption(QStringLiteral("手机："), 2, 2);
    grid->addWidget(UserMobi, 2, 3);

    caption(QStringLiteral("职业："), 3, 0);
    grid->addWidget(UserWork, 3, 1);
    caption(QStringLiteral("文化程度："), 3, 2);
    grid->addWidget(UserWenhua, 3, 3);

    grid->addWidget(Label5, 4, 0, Qt::AlignRight);
    grid->addWidget(UserLikeColor, 4, 1);
    grid->addWidget(Label14, 4, 2, Qt::AlignRight);
    grid->addWidget(UserSize, 4, 3);

    grid->addWidget(Label16, 5, 0, Qt::AlignRight);
    grid->addWidget(UserYaowei, 5, 1);
    caption(QStringLiteral("有效日期："), 5, 2);
    grid->addWidget(dtp_CardDate, 5, 3, Qt::AlignLeft);

    caption(QStringLiteral("密码："), 6, 0);
    grid->addWidget(edt_FirstPwd, 6, 1);
    caption(QStringLiteral("确认密码："), 6, 2);
    grid->addWidget(edt_ConfirmPwd, 6, 3);

    caption(QStringLiteral("详细地址："), 7, 0);
    grid->addWidget(UserAddress, 7, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("备注："), group), 8, 0,
                    Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(UserOther, 8, 1, 1, 3);
    grid->addWidget(chk_CardStop, 9, 1);
    grid->setColumnMinimumWidth(1, 170);
    grid->setColumnMinimumWidth(3, 230);

    BtnOk = new QPushButton(QStringLiteral("   确  定 "), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setAutoDefault(false);
    BtnCancel = new QPushButton(QStringLiteral("   取 消 "), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addSpacing(30);
    buttons->addWidget(BtnCancel);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnOk, &QPushButton::clicked, this, &TCreateCard::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TCreateCard::BtnCancelClick);
}

void TCreateCard::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TCreateCard::FormShow()
{
    const bool passwords = m_ctx.session.settings.FEnabledCard == 1;
    edt_FirstPwd->setEnabled(passwords);
    edt_ConfirmPwd->setEnabled(passwords);
    UserOther->clear();
    Guarded(m_ctx.prompter, [&] {
        FillComboBox(UserSex, m_ctx.db, {QStringLiteral("SELECT SexName FROM User_Sex"), {}});
        UserSex->setCurrentIndex(UserSex->count() > 0 ? 0 : -1);
        FillComboBox(UserYear, m_ctx.db, {QStringLiteral("SELECT YearName FROM Date_Year"), {}});
        UserYear->setCurrentIndex(UserYear->count() > 20 ? 20 : UserYear->count() - 1);
        FillComboBox(UserMonth, m_ctx.db, {QStringLiteral("SELECT MonthName FROM Date_Month"), {}});
        UserMonth->setCurrentIndex(UserMonth->count() > 0 ? 0 : -1);
        FillComboBox(UserDay, m_ctx.db, {QStringLiteral("SELECT DayName FROM Date_Day"), {}});
        UserDay->setCurrentIndex(UserDay->count() > 0 ? 0 : -1);
    });
    Label5->setText(AppInfo::MemberFieldCaption1 + QStringLiteral("："));
    Label14->setText(AppInfo::MemberFieldCaption2 + QStringLiteral("："));
    Label16->setText(AppInfo::MemberFieldCaption3 + QStringLiteral("："));
    dtp_CardDate->setDate(QDate(2999, 1, 1));
    UserCard->setFocus();
}

MemberFields TCreateCard::collect() const
{
    MemberFields f;
    f.card = UserCard->text();
    f.name = UserName->text();
    f.sex = UserSex->currentText();
    f.year = UserYear->currentText();
    f.month = UserMonth->currentText();
    f.day = UserDay->currentText();
    f.tel = UserTel->text();
    f.mobi = UserMobi->text();
    f.address = UserAddress->text();
    f.work = UserWork->text();
    f.wenhua = UserWenhua->text();
    f.likeColor = UserLikeColor->text();
    f.size = UserSize->text();
    f.yaowei = UserYaowei->text();
    f.other = UserOther->toPlainText();
    f.expiry = dtp_CardDate->date();
    f.locked = chk_CardStop->isChecked();
    if (m_ctx.session.settings.FEnabledCard == 1) {
        f.password = edt_FirstPwd->text();
        f.confirmPassword = edt_ConfirmPwd->text();
    }
    return f;
}

void TCreateCard::BtnOkClick()
{
    Check refusal;
    try {
        refusal = IssueCard(m_ctx.db, collect(), m_ctx.session.settings.FEnabledCard == 1,
                            m_ctx.clock.now());
    } catch (const DbError &) {
        m_ctx.prompter.error(MemberText::IssueFailed);
        return;
    }
    if (refusal) {
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    clearAfterIssue();
    emit m_ctx.notices.memberChanged(0);
    m_ctx.prompter.information(MemberText::Issued);
    UserCard->setFocus();
}

void TCreateCard::clearAfterIssue()
{
    for (QLineEdit *edit :
         {UserCard, UserName, UserTel, UserMobi, UserAddress, UserWork, UserLikeColor, UserWenhua,
          UserSize, UserYaowei, edt_FirstPwd, edt_ConfirmPwd})
        edit->clear();
    UserSex->setCurrentIndex(-1);
    UserOther->clear();
}

void TCreateCard::BtnCancelClick()
{
    for (QLineEdit *edit : {UserCard, UserName, UserWenhua, UserLikeColor, UserYaowei, UserTel,
                            UserMobi, UserAddress})
        edit->clear();
    UserOther->clear();
    close();
}
