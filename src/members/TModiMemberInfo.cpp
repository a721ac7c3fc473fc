#include "members/TModiMemberInfo.h"

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
#include <QSqlQuery>
#include <QVBoxLayout>

namespace
{

QComboBox *makeDateList(QWidget *parent, const char *name, int maxLength, int width)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(maxLength);
    box->setMinimumWidth(width);
    box->setMaxVisibleItems(15);
    return box;
}

// Shows `text` in an editable list, selecting its entry when there is one.
void SetListText(QComboBox *box, const QString &text)
{
    const int index = text.isEmpty() ? -1 : box->findText(text);
    box->setCurrentIndex(index);
    box->setEditText(text);
}
} // namespace

TModiMemberInfo::TModiMemberInfo(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TModiMemberInfo"));
    setWindowTitle(QStringLiteral("修改用户信息"));
    setModal(true);

    auto *group = new QGroupBox(QStringLiteral("   修改用户信息   "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));

    Edit1 = MakeLineEdit(group, "Edit1", 18);
    Edit2 = MakeLineEdit(group, "Edit2", 20);
    ComboBox1 = new QComboBox(group);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumWidth(80);
    ComboBox2 = makeDateList(group, "ComboBox2", 4, 70);
    ComboBox3 = makeDateList(group, "ComboBox3", 2, 50);
    ComboBox4 = makeDateList(group, "ComboBox4", 2, 50);
    Edit3 = MakeLineEdit(group, "Edit3", 20);
    Edit4 = MakeLineEdit(group, "Edit4", 20);
    Edit5 = MakeLineEdit(group, "Edit5", 20);
    Edit6 = MakeLineEdit(group, "Edit6", 20);
    Edit7 = MakeLineEdit(group, "Edit7", 20);
    Edit8 = MakeLineEdit(group, "Edit8", 30);
    Edit9 = MakeLineEdit(group, "Edit9", 30);
    Edit10 = MakeLineEdit(group, "Edit10", 100);
    Label5 = new QLabel(group);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label2 = new QLabel(group);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label6 = new QLabel(group);
    Label6->setObjectName(QStringLiteral("Label6"));
    auto *memo = new MemoWidget(150, group);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setFixedHeight(60);
    Memo1 = memo;
    dtp_CardDate = new QDateEdit(group);
    dtp_CardDate->setObjectName(QStringLiteral("dtp_CardDate"));
    dtp_CardDate->setCalendarPopup(true);
    dtp_CardDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    chk_UserCardStop = new QCheckBox(QStringLiteral("锁定"), group);
    chk_UserCardStop->setObjectName(QStringLiteral("chk_UserCardStop"));
    edt_FirstPwd = MakeLineEdit(group, "edt_FirstPwd", 10, true);
    edt_FirstPwd->setReadOnly(true);
    edt_SecondPwd = MakeLineEdit(group, "edt_SecondPwd", 10, true);
    edt_ConfirmPwd = MakeLineEdit(group, "edt_ConfirmPwd", 10, true);

    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    const auto caption = [&](const QString &text, int row, int column) {
        grid->addWidget(new QLabel(text, group), row, column, Qt::AlignRight);
    };
    caption(QStringLiteral("会员卡号："), 0, 0);
    grid->addWidget(Edit1, 0, 1);
    caption(QStringLiteral("姓名："), 0, 2);
    grid->addWidget(Edit2, 0, 3);

    caption(QStringLiteral("性别："), 1, 0);
    grid->addWidget(ComboBox1, 1, 1, Qt::AlignLeft);
    caption(QStringLiteral("出生日期："), 1, 2);
    auto *birth = new QHBoxLayout;
    birth->addWidget(ComboBox2);
    birth->addWidget(new QLabel(QStringLiteral("年"), group));
    birth->addWidget(ComboBox3);
    birth->addWidget(new QLabel(QStringLiteral("月"), group));
    birth->addWidget(ComboBox4);
    birth->addWidget(new QLabel(QStringLiteral("日"), group));
    birth->addStretch();
    grid->addLayout(birth, 1, 3);

    caption(QStringLiteral("职业："), 2, 0);
    grid->addWidget(Edit3, 2, 1);
    caption(QStringLiteral("文化程度："), 2, 2);
    grid->addWidget(Edit4, 2, 3);

    grid->addWidget(Label5, 3, 0, Qt::AlignRight);
    grid->addWidget(Edit5, 3, 1);
    grid->addWidget(Label2, 3, 2, Qt::AlignRight);
    grid->addWidget(Edit6, 3, 3);

    grid->addWidget(Label6, 4, 0, Qt::AlignRight);
    grid->addWidget(Edit7, 4, 1);
    caption(QStringLiteral("电话号码："), 4, 2);
    grid->addWidget(Edit8, 4, 3);

    caption(QStringLiteral("手机："), 5, 0);
    grid->addWidget(Edit9, 5, 1);
    caption(QStringLiteral("有效日期："), 5, 2);
    auto *validity = new QHBoxLayout;
    validity->addWidget(dtp_CardDate);
    validity->addSpacing(12);
    validity->addWidget(chk_UserCardStop);
    validity->addStretch();
    grid->addLayout(validity, 5, 3);

    caption(QStringLiteral("原始密码："), 6, 0);
    grid->addWidget(edt_FirstPwd, 6, 1);
    caption(QStringLiteral("修改密码："), 6, 2);
    grid->addWidget(edt_SecondPwd, 6, 3);
    caption(QStringLiteral("确认密码："), 7, 2);
    grid->addWidget(edt_ConfirmPwd, 7, 3);

    caption(QStringLiteral("详细地址："), 8, 0);
    grid->addWidget(Edit10, 8, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("备注："), group), 9, 0,
                    Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(Memo1, 9, 1, 1, 3);
    grid->setColumnMinimumWidth(1, 170);
    grid->setColumnMinimumWidth(3, 230);

    BtnOk = new QPushButton(QStringLiteral("   确   定   "), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setAutoDefault(false);
    BtnCancel = new QPushButton(QStringLiteral("   取   消   "), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addSpacing(30);
    buttons->addWidget(BtnCancel);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnOk, &QPushButton::clicked, this, &TModiMemberInfo::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TModiMemberInfo::EditMember(const QString &userId)
{
    bool exists = false;
    if (!Guarded(m_ctx.prompter,
                 [&] { exists = LoadMember(m_ctx.db, userId.trimmed().toLongLong()).has_value(); }))
        return false;
    if (!exists) {
        m_ctx.prompter.information(QStringLiteral("没有查到此用户！"));
        return false;
    }
    m_ctx.session.login.MyUserID = userId.trimmed();
    return exec() == QDialog::Accepted;
}

void TModiMemberInfo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TModiMemberInfo::FormShow()
{
    Label5->setText(AppInfo::MemberFieldCaption1 + QStringLiteral("："));
    Label2->setText(AppInfo::MemberFieldCaption2 + QStringLiteral("："));
    Label6->setText(AppInfo::MemberFieldCaption3 + QStringLiteral("："));
    const QString userId = m_ctx.session.login.MyUserID.trimmed();
    if (userId.isEmpty())
        return;

    Guarded(m_ctx.prompter, [&] {
        const std::optional<Member> m = LoadMember(m_ctx.db, userId.toLongLong());
        if (!m)
            return;
        Edit1->setText(m->card.trimmed());
        Edit2->setText(m->name.trimmed());
        Edit3->setText(m->work.trimmed());
        Edit4->setText(m->wenhua.trimmed());
        Edit5->setText(m->likeColor.trimmed());
        Edit6->setText(m->size.trimmed());
        Edit7->setText(m->yaowei.trimmed());
        Edit8->setText(m->tel.trimmed());
        Edit9->setText(m->mobi.trimmed());
        Edit10->setText(m->address.trimmed());
        Memo1->setPlainText(m->other.trimmed());
        // A card without a readable expiry date shows today, which must be
        // changed before saving.
        const QDate expiry = ParseStoredDate(m->validUntil.trimmed());
        dtp_CardDate->setDate(expiry.isValid() ? expiry : m_ctx.clock.today());
        chk_UserCardStop->setChecked(m->locked());

        const bool passwords = m_ctx.session.settings.FEnabledCard == 1;
        for (QLineEdit *edit : {edt_FirstPwd, edt_SecondPwd, edt_ConfirmPwd}) {
            edit->setEnabled(passwords);
            edit->clear();
        }
        if (passwords)
            edt_FirstPwd->setText(m->cardPassword.trimmed());

        const QString sex = m->sex.trimmed();
        ComboBox1->clear();
        int sexIndex = 0;
        QSqlQuery sexes =
            m_ctx.db.exec(QStringLiteral("SELECT SexID, SexName FROM User_Sex ORDER BY SexID"));
        while (sexes.next()) {
            ComboBox1->addItem(sexes.value(1).toString());
            if (sexes.value(1).toString() == sex)
                sexIndex = sexes.value(0).toInt() - 1;
        }
        ComboBox1->setCurrentIndex(sexIndex >= 0 && sexIndex < ComboBox1->count() ? sexIndex : 0);

        FillComboBox(ComboBox2, m_ctx.db,
                     {QStringLiteral("SELECT YearName FROM Date_Year ORDER BY YearID"), {}});
        FillComboBox(ComboBox3, m_ctx.db,
                     {QStringLiteral("SELECT MonthName FROM Date_Month ORDER BY MonthID"), {}});
        FillComboBox(ComboBox4, m_ctx.db,
                     {QStringLiteral("SELECT DayName FROM Date_Day ORDER BY DayID"), {}});
        // A birth date that is empty or no date shows empty lists; saving then
        // asks for one.
        const QDate birth = ParseStoredDate(m->birthday.trimmed());
        SetListText(ComboBox2, birth.isValid() ? QString::number(birth.year()) : QString());
        SetListText(ComboBox3, birth.isValid() ? QString::number(birth.month()) : QString());
        SetListText(ComboBox4, birth.isValid() ? QString::number(birth.day()) : QString());
    });
    Edit1->setFocus();
}

void TModiMemberInfo::BtnOkClick()
{
    MemberFields f;
    f.card = Edit1->text();
    f.name = Edit2->text();
    f.sex = ComboBox1->currentText();
    f.year = ComboBox2->currentText();
    f.month = ComboBox3->currentText();
    f.day = ComboBox4->currentText();
    f.work = Edit3->text();
    f.wenhua = Edit4->text();
    f.likeColor = Edit5->text();
    f.size = Edit6->text();
    f.yaowei = Edit7->text();
    f.tel = Edit8->text();
    f.mobi = Edit9->text();
    f.address = Edit10->text();
    f.other = Memo1->toPlainText();
    f.expiry = dtp_CardDate->date();
    f.locked = chk_UserCardStop->isChecked();
    const bool passwords = m_ctx.session.settings.FEnabledCard == 1;
    if (passwords) {
        f.password = edt_SecondPwd->text();
        f.confirmPassword = edt_ConfirmPwd->text();
    }
    const qint64 userId = m_ctx.session.login.MyUserID.trimmed().toLongLong();

    Check refusal;
    if (!Guarded(m_ctx.prompter,
                 [&] { refusal = SaveMember(m_ctx.db, userId, f, passwords, m_ctx.clock.now()); }))
        return;
    if (refusal) {
        if (refusal->message == MemberText::CardTakenOnEdit)
            Edit1->clear();
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    emit m_ctx.notices.memberChanged(int(userId));
    m_ctx.prompter.information(MemberText::Saved);
    emit memberSaved(userId);
    accept();
}
