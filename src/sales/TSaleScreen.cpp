#include "sales/TSaleScreen.h"

#include "data/TextRules.h"
#include "members/MemberCard.h"
#include "members/MemberPanelWidget.h"
#include "members/TFrmCardPwd.h"
#include "sales/MemberSalePayment.h"
#include "sales/OpenBill.h"
#include "sales/SaleLists.h"
#include "sales/TPayType_Frm.h"
#include "widgets/DataGridWidget.h"
#include "widgets/FormWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace
{

QLineEdit *MakeEdit(const QString &name, int maxLength, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

QComboBox *MakeList(const QString &name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(false);
    box->setMinimumWidth(110);
    return box;
}

} // namespace

TSaleScreen::TSaleScreen(AppContext &ctx, SaleScreenKind kind, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_ctx(ctx), m_kind(kind)
{
    setWindowTitle(QStringLiteral("消费"));
    setModal(false);
    // Fields the operator cannot change look filled in, not typed in.
    setStyleSheet(QStringLiteral("QLineEdit[readOnly=\"true\"] { background-color: #eeeeee; }"));

    UserCard = MakeEdit(QStringLiteral("UserCard"), 18, this);
    MemberInfo =
        new MemberPanel(MemberPanel::SaleScreenFields(
                            kind == SaleScreenKind::Scan ? QStringLiteral("Label2022") : QString()),
                        this);
    ComboBox3 = MakeList(QStringLiteral("ComboBox3"), this);
    ComboBox4 = MakeList(QStringLiteral("ComboBox4"), this);
    ComboBox5 = MakeList(QStringLiteral("ComboBox5"), this);
    ComboBox5->setMinimumWidth(80);
    EditProName = MakeEdit(QStringLiteral("EditProName"), 100, this);
    EditProPrice = MakeEdit(QStringLiteral("EditProPrice"), 9, this);
    EditProSalePrice = MakeEdit(QStringLiteral("EditProSalePrice"), 9, this);
    EditProJIfen = MakeEdit(QStringLiteral("EditProJIfen"), 9, this);
    EditProShuliang = MakeEdit(QStringLiteral("EditProShuliang"), 9, this);
    EditProShuliang->setText(QStringLiteral("1"));
    EditOrderOther = MakeEdit(QStringLiteral("EditOrderOther"), 150, this);

    DBGrid2 = new DataGridWidget(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setMinimumHeight(200);
    LabelMoneyAll = new QLabel(QStringLiteral("0"), this);
    LabelMoneyAll->setObjectName(QStringLiteral("LabelMoneyAll"));
    LabelMoneyAll->setStyleSheet(QStringLiteral("color: red"));
    QFont big = LabelMoneyAll->font();
    big.setPointSize(22);
    big.setBold(true);
    LabelMoneyAll->setFont(big);
    LabelMoneyAll->setMinimumWidth(150);
    JifenAll = new QLabel(QStringLiteral("0"), this);
    JifenAll->setObjectName(QStringLiteral("JifenAll"));
    JifenAll->setVisible(false);

    EditProPrice->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && now->window() == this)
            ShowEnterButton();
    });

    connect(EditProPrice, &QLineEdit::textChanged, this, &TSaleScreen::EditProPriceChange);
    connect(ComboBox5, &QComboBox::currentIndexChanged, this, &TSaleScreen::EditProPriceChange);
    connect(EditProSalePrice, &QLineEdit::textChanged, this, &TSaleScreen::ProSalePriceOnChange);
}

TSaleScreen::~TSaleScreen() = default;

QPushButton *TSaleScreen::MakeButton(const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    // Enter is routed by keyPressEvent: to the focused button, else to the
    // button the focused field asks for.
    button->setAutoDefault(false);
    return button;
}

void TSaleScreen::CreateButtons(const QString &cardOk, const QString &close, const QString &join,
                                const QString &history, const QString &historyCaption,
                                const QString &abandon, const QString &remove, const QString &pay)
{
    m_cardOkButton = MakeButton(cardOk, QStringLiteral("   确  定 "));
    m_closeButton = MakeButton(close, QStringLiteral("   取  消  "));
    m_joinButton = MakeButton(join, QStringLiteral("   加入购买 "));
    m_historyButton = MakeButton(history, historyCaption);
    m_abandonButton = MakeButton(abandon, QStringLiteral("   放弃购买 "));
    m_deleteButton = MakeButton(remove, QStringLiteral("   删除一项 "));
    m_payButton = MakeButton(pay, QStringLiteral("   收款j结帐 "));

    connect(m_cardOkButton, &QPushButton::clicked, this, &TSaleScreen::CardCheck);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_joinButton, &QPushButton::clicked, this, &TSaleScreen::AddItem);
    connect(m_historyButton, &QPushButton::clicked, this, &TSaleScreen::ShowHistory);
    connect(m_abandonButton, &QPushButton::clicked, this, &TSaleScreen::AbandonBill);
    connect(m_deleteButton, &QPushButton::clicked, this, &TSaleScreen::DeleteItem);
    connect(m_payButton, &QPushButton::clicked, this, &TSaleScreen::StartCheckout);
}

void TSaleScreen::AssembleScreen(QGroupBox *items, int height)
{
    auto *top = new QHBoxLayout;
    top->addWidget(BuildCardGroup());
    top->addWidget(MemberInfo, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(items);
    layout->addWidget(BuildBillGroup(), 1);
    setFixedSize(980, height);
}

QGroupBox *TSaleScreen::BuildCardGroup()
{
    auto *group = new QGroupBox(QStringLiteral("   刷卡区   "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *layout = new QGridLayout(group);
    layout->addWidget(new QLabel(QStringLiteral("卡号："), group), 0, 0);
    layout->addWidget(UserCard, 0, 1);
    UserCard->setMinimumWidth(150);
    QFont f = UserCard->font();
    f.setPointSize(f.pointSize() + 3);
    UserCard->setFont(f);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cardOkButton);
    buttons->addWidget(m_closeButton);
    layout->addLayout(buttons, 1, 0, 1, 2);
    layout->setRowStretch(2, 1);
    return group;
}

QGroupBox *TSaleScreen::BuildBillGroup()
{
    auto *group = new QGroupBox(QStringLiteral("   购买产品列表  "), this);
    group->setObjectName(QStringLiteral("GroupBox4"));
    auto *side = new QVBoxLayout;
    auto *dueCaption = new QLabel(QStringLiteral("应收款："), group);
    QFont f = dueCaption->font();
    f.setPointSize(14);
    f.setBold(true);
    dueCaption->setFont(f);
    side->addWidget(dueCaption);
    side->addWidget(LabelMoneyAll);
    side->addStretch();
    side->addWidget(m_historyButton);
    side->addWidget(m_abandonButton);
    side->addWidget(m_deleteButton);
    side->addWidget(m_payButton);
    m_payButton->setMinimumHeight(36);
    auto *layout = new QHBoxLayout(group);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(side);
    return group;
}

QPushButton *TSaleScreen::EnterButtonFor(const QWidget *focused) const
{
    if (focused == UserCard)
        return m_cardOkButton;
    return m_kind == SaleScreenKind::Standard ? m_joinButton : nullptr;
}

void TSaleScreen::ShowEnterButton()
{
    QWidget *focused = focusWidget();
    if (qobject_cast<QPushButton *>(focused))
        return;
    QPushButton *target = EnterButtonFor(focused);
    const QList<QPushButton *> buttons = findChildren<QPushButton *>();
    for (QPushButton *b : buttons) {
        if (b->window() == this && b != target)
            b->setDefault(false);
    }
    if (target)
        target->setDefault(true);
}

TFrmCardPwd *TSaleScreen::PasswordPrompt()
{
    if (!m_pwdPrompt)
        m_pwdPrompt = new TFrmCardPwd(m_ctx, this);
    return m_pwdPrompt;
}

TPayType_Frm *TSaleScreen::PayForm()
{
    if (!m_payForm)
        m_payForm = new TPayType_Frm(m_ctx, this);
    return m_payForm;
}

void TSaleScreen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormOnShow();
}

void TSaleScreen::FormOnShow()
{
    const ShopSettings &s = m_ctx.session.settings;
    m_cardPwd.clear();
    UserCard->clear();
    UserCard->setFocus();
    ForgetMember();
    EditProShuliang->setText(QStringLiteral("1"));
    MemberInfo->SetFieldCaptions();
    EditProJIfen->setReadOnly(s.JifenModiYesOrNo != 1);
    EditProSalePrice->setReadOnly(s.JinEModiYesOrNo != 1);
    for (QLineEdit *edit : {EditProJIfen, EditProSalePrice}) {
        edit->style()->unpolish(edit);
        edit->style()->polish(edit);
    }
    RefreshOrderGrid();
    ShowEnterButton();
}

void TSaleScreen::FillDaogouAndDiscountLists()
{
    Guarded(m_ctx.prompter, [&] {
        FillComboBox(ComboBox3, m_ctx.db, SaleLists::Daogou());
        ComboBox3->setCurrentIndex(ComboBox3->count() > 0 ? 0 : -1);
        const SaleLists::Discounts d = SaleLists::LoadDiscounts(m_ctx.db);
        ComboBox5->clear();
        ComboBox5->addItems(d.values);
        ComboBox5->setCurrentIndex(d.values.isEmpty() ? -1 : d.selected);
    });
}

bool TSaleScreen::FillShopList()
{
    bool any = false;
    Guarded(m_ctx.prompter, [&] {
        FillComboBox(ComboBox4, m_ctx.db, SaleLists::Shops(m_ctx.session.login.MyDianMianID));
        ComboBox4->setCurrentIndex(ComboBox4->count() > 0 ? 0 : -1);
        any = ComboBox4->count() > 0;
    });
    return any;
}

void TSaleScreen::CardCheck()
{
    if (!BeforeCardCheck())
        return;
    CardCheckResult found;
    if (!Guarded(m_ctx.prompter, [&] {
            found = MemberCard::Check(m_ctx.db, UserCard->text(), m_ctx.clock.now(), m_kind);
        }))
        return;
    if (found.refusal) {
        if (!found.keepCard)
            UserCard->clear();
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
            ShowRefusal(m_ctx.prompter, this, MemberCard::WrongPassword(m_kind));
            return;
        }
    }
    UserCard->clear();
    MemberInfo->ShowMember(member);
    m_member = member;
    // The bill shown is always the member's own: lines left from an earlier
    // visit reappear, and another member's lines never stay on screen.
    RefreshOrderGrid();
    AfterCardAccepted();
}

void TSaleScreen::EditProPriceChange()
{
    const QString price = EditProPrice->text();
    if (price.trimmed().isEmpty())
        return;
    if (const std::optional<QString> salePrice = SaleLine::DiscountedPriceText(
            price, ComboBox5->currentText(), m_ctx.session.settings.FFloatNum))
        EditProSalePrice->setText(*salePrice);
}

void TSaleScreen::ProSalePriceOnChange()
{
    const QString salePrice = EditProSalePrice->text().trimmed();
    if (salePrice.isEmpty())
        return;
    if (!IsNumberText(salePrice)) {
        ShowRefusal(m_ctx.prompter, this,
                    {QStringLiteral("打折价只能为数字!"), QStringLiteral("EditProSalePrice")});
        return;
    }
    // A number still being typed ("." alone) waits for the next key.
    if (const std::optional<QString> points =
            SaleLine::PointsPerUnitText(salePrice, m_ctx.session.settings.JifenSeting))
        EditProJIfen->setText(*points);
}

SaleLineInput TSaleScreen::ItemInput() const
{
    SaleLineInput in;
    in.brand = ItemBrandText();
    in.category = ItemCategoryText();
    in.daogou = ComboBox3->currentText();
    in.store = ComboBox4->currentText();
    in.name = EditProName->text();
    in.price = EditProPrice->text();
    in.salePrice = EditProSalePrice->text();
    in.points = EditProJIfen->text();
    in.quantity = EditProShuliang->text();
    in.remark = EditOrderOther->text();
    return in;
}

void TSaleScreen::AddItem()
{
    const SaleLineInput input = ItemInput();
    if (const Check refusal = SaleLine::Validate(input, m_member.has_value(), m_kind)) {
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    const SaleLineFigures figures = SaleLine::Figures(input);
    const int adminId = m_ctx.session.login.MyAdminID.toInt();
    if (!Guarded(m_ctx.prompter,
                 [&] { OpenBill::AddLine(m_ctx.db, m_member->id, adminId, input, figures); }))
        return;
    RefreshOrderGrid();
    AfterItemAdded();
}

void TSaleScreen::DeleteItem()
{
    const QVariant id = DBGrid2->currentValue(QStringLiteral("序号"));
    if (!id.isValid() || id.toString().trimmed().isEmpty())
        return;
    if (!Guarded(m_ctx.prompter, [&] { OpenBill::DeleteLine(m_ctx.db, id.toLongLong()); }))
        return;
    RefreshOrderGrid();
}

void TSaleScreen::AbandonBill()
{
    if (!m_member)
        return;
    if (!Guarded(m_ctx.prompter, [&] { OpenBill::Abandon(m_ctx.db, m_member->id); }))
        return;
    RefreshOrderGrid();
    ForgetMember();
    UserCard->clear();
    AfterAbandon();
}

void TSaleScreen::StartCheckout()
{
    if (!m_member || DBGrid2->rowCount() < 1)
        return;
    CheckoutRequest request;
    request.memberId = m_member->id;
    request.shopName = ComboBox4->currentText();
    request.bill = m_bill;
    request.adminId = m_ctx.session.login.MyAdminID.toInt();
    const QString dueText = TotalText(m_bill.amount);
    const PaymentDue due{Money::parse(dueText).value_or(Money()), dueText, m_member->balance,
                         MemberFieldText(*m_member, MemberField::Balance)};
    MemberSalePayment operation(m_ctx, request, m_member->card);
    const std::optional<qint64> paid = PayForm()->Pay(due, operation);
    activateWindow();
    if (!paid) {
        // The bill may have changed at another till meanwhile.
        RefreshOrderGrid();
        return;
    }
    UserCard->setFocus();
    ResetSaleScreen();
}

void TSaleScreen::ShowHistory()
{
    if (!m_member)
        return;
    emit consumptionHistoryRequested(m_member->card.trimmed());
}

void TSaleScreen::RefreshOrderGrid()
{
    Guarded(m_ctx.prompter, [&] {
        const qint64 id = currentMemberId();
        DBGrid2->setSource(m_ctx.db, OpenBill::Statement(id));
        DBGrid2->setColumnWidths(OpenBill::ColumnWidths());
        ShowTotals(OpenBill::TotalsOf(m_ctx.db, id));
    });
}

void TSaleScreen::ShowTotals(const OpenBill::Totals &bill)
{
    m_bill = bill;
    LabelMoneyAll->setText(TotalText(bill.amount));
    JifenAll->setText(TotalText(bill.points));
}

void TSaleScreen::ForgetMember()
{
    m_member.reset();
    m_bill = OpenBill::Totals();
    MemberInfo->Clear();
    LabelMoneyAll->setText(QStringLiteral("0"));
    JifenAll->setText(QStringLiteral("0"));
}

void TSaleScreen::ResetSaleScreen()
{
    UserCard->clear();
    ForgetMember();
    EditProName->clear();
    EditProPrice->clear();
    EditOrderOther->clear();
    RefreshOrderGrid();
    UserCard->setFocus();
}

void TSaleScreen::SaleFormOnClose()
{
    m_cardPwd.clear();
    EditProShuliang->clear();
    EditProName->clear();
    EditProPrice->clear();
    EditProSalePrice->clear();
    EditProJIfen->clear();
    EditOrderOther->clear();
    LabelMoneyAll->setText(QStringLiteral("0"));
    JifenAll->setText(QStringLiteral("0"));
    if (m_member) {
        if (Guarded(m_ctx.prompter, [&] { OpenBill::Abandon(m_ctx.db, m_member->id); }))
            RefreshOrderGrid();
    }
}

void TSaleScreen::done(int result)
{
    if (isVisible())
        SaleFormOnClose();
    QDialog::done(result);
}

void TSaleScreen::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        auto *focusedButton = qobject_cast<QPushButton *>(focusWidget());
        QPushButton *target = focusedButton ? focusedButton : EnterButtonFor(focusWidget());
        if (target && target->isEnabled() && target->isVisible())
            target->click();
        event->accept();
        return;
    }
    case Qt::Key_Escape:
        // Esc must not close the screen: closing abandons the open bill.
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool TSaleScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditProPrice && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (typed.size() == 1 && typed.at(0).isPrint() &&
            !AcceptsAmountKey(EditProPrice->text(), typed.at(0)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
