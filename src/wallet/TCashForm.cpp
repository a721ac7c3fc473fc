#include "wallet/TCashForm.h"

#include "data/TextRules.h"
#include "members/MemberCard.h"
#include "members/MemberPanelWidget.h"
#include "members/TFrmCardPwd.h"
#include "widgets/DataGridWidget.h"
#include "widgets/FormWidget.h"
#include "widgets/GridPanelWidget.h"
#include "widgets/NavigatorBarWidget.h"

#include <QApplication>
#include <QFocusEvent>
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

// The member area: fourteen values in three columns. The captions of the
// three free member fields are replaced by the program's texts on showing.
QList<MemberPanelField> CashFormFields()
{
    using F = MemberField;
    return {
        {QStringLiteral("UserCard"), QStringLiteral("卡号："), F::Card, 0, 0},
        {QStringLiteral("UserName"), QStringLiteral("姓名："), F::Name, 0, 1},
        {QStringLiteral("UserSex"), QStringLiteral("性别："), F::Sex, 0, 2},
        {QStringLiteral("UserNum"), QStringLiteral("积分："), F::Points, 1, 0},
        {QStringLiteral("UserMoneyAll"), QStringLiteral("金额："), F::Spending, 1, 1},
        {QStringLiteral("UserBrithday"), QStringLiteral("出生日期："), F::Birthday, 1, 2},
        {QStringLiteral("UserLikeColor"), QStringLiteral("爱好颜色："), F::LikeColor, 2, 0, 1,
         QStringLiteral("lblLikeColorCaption")},
        {QStringLiteral("UserYaowei"), QStringLiteral("腰围："), F::Yaowei, 2, 1, 1,
         QStringLiteral("lblYaoweiCaption")},
        {QStringLiteral("UserSize"), QStringLiteral("码号："), F::Size, 2, 2, 1,
         QStringLiteral("lblSizeCaption")},
        {QStringLiteral("UserTel"), QStringLiteral("电话："), F::Tel, 3, 0},
        {QStringLiteral("UserMobi"), QStringLiteral("手机："), F::Mobi, 3, 1},
        {QStringLiteral("UserWork"), QStringLiteral("职业："), F::Work, 3, 2},
        {QStringLiteral("UserWenhua"), QStringLiteral("文化程度："), F::Wenhua, 4, 0},
        {QStringLiteral("UserAddress"), QStringLiteral("地址："), F::Address, 4, 1, 3},
    };
}

// A button that, as any in a dialog, Enter presses when it has the focus.
QPushButton *NamedButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

TCashForm::TCashForm(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TCashForm"));
    setWindowTitle(QStringLiteral("兑分"));
    setModal(false);

    // 兑分: the card and the redemption's boxes.
    auto *entry = new QGroupBox(QStringLiteral("   兑分   "), this);
    entry->setObjectName(QStringLiteral("GroupBox1"));
    Edit1 = MakeLineEdit(entry, "Edit1", 18);
    BtnMember = NamedButton(entry, "BtnMember", QStringLiteral(" 会  员 "));
    Edit2 = MakeLineEdit(entry, "Edit2", 100);
    Edit3 = MakeLineEdit(entry, "Edit3", 9);
    Edit4 = MakeLineEdit(entry, "Edit4", 9);
    Edit5 = MakeLineEdit(entry, "Edit5", 9);
    Edit6 = MakeLineEdit(entry, "Edit6", 150);
    BtnOk = NamedButton(entry, "BtnOk", QStringLiteral(" 确 定 "));
    auto *form = new QGridLayout(entry);
    form->setVerticalSpacing(8);
    const auto row = [&](int at, const QString &caption, QLineEdit *edit) {
        auto *label = new QLabel(caption, entry);
        label->setBuddy(edit);
        form->addWidget(label, at, 0, Qt::AlignRight);
        form->addWidget(edit, at, 1);
    };
    row(0, QStringLiteral("卡号："), Edit1);
    form->addWidget(BtnMember, 0, 2);
    row(1, QStringLiteral("物品："), Edit2);
    row(2, QStringLiteral("价值："), Edit3);
    row(3, QStringLiteral("所兑积分："), Edit4);
    row(4, QStringLiteral("加现金："), Edit5);
    row(5, QStringLiteral("备注："), Edit6);
    form->addWidget(BtnOk, 6, 1, Qt::AlignRight);
    form->setRowStretch(7, 1);
    entry->setMinimumWidth(330);

    MemberInfo = new MemberPanel(CashFormFields(), this, MemberPanel::Style::Labels,
                                 QStringLiteral("   用户信息   "));

    // 兑分记录: the redemptions, their export and 关闭. The list has no
    // navigator of its own.
    auto *records = new QGroupBox(QStringLiteral("   兑分记录   "), this);
    records->setObjectName(QStringLiteral("GroupBox3"));
    m_records = new GridPanel(ctx, records);
    m_records->navigator()->hide();
    m_records->setColumnWidths(Redemption::RecordColumnWidths());
    DBGrid1 = m_records->grid();
    btnExcel = m_records->exportButton();
    btnClose = NamedButton(records, "btnClose", QStringLiteral("关闭"));
    m_records->buttonRow()->addWidget(btnClose);
    auto *recordsLayout = new QVBoxLayout(records);
    recordsLayout->addWidget(m_records);

    auto *top = new QHBoxLayout;
    top->addWidget(entry);
    top->addWidget(MemberInfo, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(records, 1);
    setFixedSize(960, 640);

    setTabOrder(Edit1, BtnMember);
    setTabOrder(BtnMember, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, Edit5);
    setTabOrder(Edit5, Edit6);
    setTabOrder(Edit6, BtnOk);
    setTabOrder(BtnOk, DBGrid1);

    for (QLineEdit *edit : {Edit1, Edit2, Edit5})
        edit->installEventFilter(this);

    connect(BtnMember, &QPushButton::clicked, this, &TCashForm::BtnMemberClick);
    connect(BtnOk, &QPushButton::clicked, this, &TCashForm::BtnOkClick);
    connect(btnClose, &QPushButton::clicked, this, &TCashForm::btnCloseClick);
    // btnExcel is the grid panel's: it exports the rows shown (btnExcelClick).
    connect(&ctx.notices, &ChangeNotices::memberChanged, this, &TCashForm::MemberChanged);
}

TCashForm::~TCashForm() = default;

TFrmCardPwd *TCashForm::PasswordPrompt()
{
    if (!m_pwdPrompt)
        m_pwdPrompt = new TFrmCardPwd(m_ctx, this);
    return m_pwdPrompt;
}

void TCashForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (!m_placed) {
        m_placed = true;
        CenterOnScreen(this);
    }
    SashFormOnshow();
}

void TCashForm::SashFormOnshow()
{
    m_cardPwd.clear();
    ClearMemberLabels();
    SetInputsEnabled(false);
    for (QLineEdit *edit : {Edit2, Edit3, Edit4, Edit5, Edit6})
        edit->clear();
    MemberInfo->SetFieldCaptions();
    LoadCashGrid(0);
    Edit1->setFocus();
    Edit1OnEnter();
}

void TCashForm::FormClose()
{
    m_cardPwd.clear();
}

void TCashForm::done(int result)
{
    if (isVisible())
        FormClose();
    QDialog::done(result);
}

bool TCashForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        // Focus coming back with the window (after a message box, say) is
        // no entering of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool entered =
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (watched == Edit1)
            Edit1OnEnter();
        else if (watched == Edit2)
            Edit2OnEnter();
        else if (watched == Edit5 && entered)
            Edit5Enter();
    }
    return QDialog::eventFilter(watched, event);
}

void TCashForm::Edit1OnEnter()
{
    // Enter in the card box looks the member up.
    BtnMember->setDefault(true);
}

void TCashForm::Edit2OnEnter()
{
    // From the item on, Enter records the redemption.
    BtnOk->setDefault(true);
}

RedemptionTexts TCashForm::TypedTexts() const
{
    return {Edit2->text(), Edit3->text(), Edit4->text(), Edit5->text(), Edit6->text()};
}

void TCashForm::SetInputsEnabled(bool enabled)
{
    for (QLineEdit *edit : {Edit2, Edit3, Edit4, Edit5, Edit6})
        edit->setEnabled(enabled);
}

void TCashForm::ClearMemberLabels()
{
    m_member.reset();
    MemberInfo->Clear();
}

void TCashForm::ShowLoadedMember(const Member &member)
{
    m_member = member;
    MemberInfo->ShowMember(member);
}

void TCashForm::LoadCashGrid(qint64 memberId)
{
    m_records->setSource(Redemption::Records(memberId));
}

void TCashForm::BtnMemberClick()
{
    m_lastCard = CleanText(Edit1->text());
    CardLookup found;
    if (!Guarded(m_ctx.prompter, [&] { found = Redemption::FindCard(m_ctx.db, m_lastCard); }))
        return;
    if (found.refusal) {
        if (!m_lastCard.isEmpty()) {
            // An unknown card: nobody is shown any more.
            ClearMemberLabels();
            SetInputsEnabled(false);
        }
        ShowRefusal(m_ctx.prompter, this, *found.refusal);
        return;
    }
    const Member &member = *found.member;
    if (m_ctx.session.settings.FEnabledCard == 1) {
        // 关闭 hands nothing back: the last password handed back is compared.
        if (const std::optional<QString> typed = PasswordPrompt()->AskPassword())
            m_cardPwd = *typed;
        activateWindow();
        if (!MemberCard::PasswordMatches(member, m_cardPwd)) {
            ShowRefusal(m_ctx.prompter, this,
                        {QStringLiteral("录入的卡密码不正确!"), QStringLiteral("Edit1")});
            return;
        }
    }
    if (const std::optional<Refusal> refusal =
            Redemption::ThresholdRefusal(member, m_ctx.session.settings.CashSeting)) {
        SetInputsEnabled(false);
        ClearMemberLabels();
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    SetInputsEnabled(true);
    Edit2->setFocus();
    ShowLoadedMember(member);
    Edit1->clear();
    LoadCashGrid(member.id);
}

void TCashForm::Edit5Enter()
{
    if (!m_member)
        return;
    const EntryCheck check = Redemption::CheckItem(TypedTexts(), m_member->points);
    if (check.refusal) {
        ShowRefusal(m_ctx.prompter, this, *check.refusal);
        return;
    }
    Edit5->setText(Redemption::AutomaticCashText(check.entry));
}

void TCashForm::BtnOkClick()
{
    if (!m_member) {
        m_ctx.prompter.information(QStringLiteral("请先刷卡！"));
        return;
    }
    const EntryCheck check = Redemption::CheckConfirmation(TypedTexts(), m_member->points);
    if (check.refusal) {
        Refuse(*check.refusal);
        return;
    }
    RedemptionRequest request;
    request.memberId = m_member->id;
    request.entry = check.entry;
    request.admin = m_ctx.session.login.MyAdminName;
    request.now = m_ctx.clock.now();
    RedemptionResult result;
    const bool ran = Guarded(m_ctx.prompter, [&] { result = Redemption(m_ctx.db).Run(request); });
    if (!ran || result.refusal) {
        // The member may have changed at another window: show what is stored.
        ReloadMember();
        if (result.refusal)
            Refuse(*result.refusal);
        return;
    }

    const qint64 memberId = m_member->id;
    m_member->points = result.points.after;
    MemberInfo->ShowMember(*m_member);
    const bool pointsLeft = result.points.after > 0;
    if (!pointsLeft)
        SetInputsEnabled(false);
    m_ctx.prompter.information(QStringLiteral("兑分成功！"));
    for (QLineEdit *edit : {Edit2, Edit3, Edit4, Edit5, Edit6})
        edit->clear();
    if (pointsLeft)
        Edit2->setFocus();
    else
        Edit1->setFocus();
    LoadCashGrid(memberId);
    emit m_ctx.notices.memberChanged(int(memberId));
}

void TCashForm::Refuse(const Refusal &refusal)
{
    ShowRefusal(m_ctx.prompter, this, refusal);
    // Sent to the cash box, the operator finds it filled in. After a message
    // box the focus may come only with the window, which is no entering.
    if (refusal.focus == Edit5->objectName() && QApplication::focusWidget() != Edit5)
        Edit5Enter();
}

void TCashForm::MemberChanged(int memberId)
{
    if (!isVisible())
        return;
    if (!m_member)
        m_records->refresh();
    else if (memberId == 0 || memberId == m_member->id)
        ReloadMember();
}

void TCashForm::ReloadMember()
{
    if (!m_member)
        return;
    std::optional<Member> now;
    if (Guarded(m_ctx.prompter, [&] { now = LoadMember(m_ctx.db, m_member->id); })) {
        if (!now) {
            // Deleted meanwhile: nobody to redeem for.
            ClearMemberLabels();
            SetInputsEnabled(false);
        } else {
            ShowLoadedMember(*now);
            if (now->points <= 0)
                SetInputsEnabled(false);
        }
    }
    LoadCashGrid(currentMemberId());
}

void TCashForm::btnCloseClick()
{
    close();
}

void TCashForm::btnExcelClick()
{
    m_records->exportRows();
}
