#include "wallet/TAddMoney_Frm.h"

#include "data/TextRules.h"
#include "export/ExcelExport.h"
#include "members/MemberPanelWidget.h"
#include "wallet/Recharge.h"
#include "widgets/DataGridWidget.h"
#include "widgets/FormWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace
{

// The date column is the wide one.
const QList<int> HistoryWidths = {80, 80, 80, 80, 80, 80, 120, 80, 80};

QList<MemberPanelField> RechargeFields()
{
    using F = MemberField;
    return {
        {QStringLiteral("edt_Card"), QStringLiteral("卡号"), F::Card, 0, 0},
        {QStringLiteral("edt_UserName"), QStringLiteral("姓名"), F::Name, 0, 1},
        {QStringLiteral("edt_Gender"), QStringLiteral("性别"), F::Sex, 0, 2},
        {QStringLiteral("edt_Birthday"), QStringLiteral("录入日期"), F::InputDate, 1, 0},
        {QStringLiteral("edt_Score"), QStringLiteral("积分"), F::WholePoints, 1, 1},
        {QStringLiteral("edt_CardMoney"), QStringLiteral("储值金额"), F::Balance, 1, 2},
        {QStringLiteral("edt_ConsumeMoney"), QStringLiteral("消费金额"), F::Spending, 2, 0},
        {QStringLiteral("edt_xueli"), QStringLiteral("学历"), F::Wenhua, 2, 1},
        {QStringLiteral("edt_tel"), QStringLiteral("电话"), F::Tel, 2, 2},
        {QStringLiteral("edt_mobi"), QStringLiteral("手机"), F::Mobi, 3, 0},
        {QStringLiteral("edt_address"), QStringLiteral("地址"), F::Address, 3, 1, 3},
        {QStringLiteral("edt_memo"), QStringLiteral("备注"), F::Other, 4, 0, 5},
    };
}

bool IsEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

TAddMoney_Frm::TAddMoney_Frm(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TAddMoney_Frm"));
    setWindowTitle(QStringLiteral("充值单"));

    auto *billCaption = new QLabel(QStringLiteral("单据号："), this);
    lbl_BillNo = new QLabel(this);
    lbl_BillNo->setObjectName(QStringLiteral("lbl_BillNo"));
    lbl_BillNo->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    lbl_BillNo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *billRow = new QHBoxLayout;
    billRow->addStretch();
    billRow->addWidget(billCaption);
    billRow->addWidget(lbl_BillNo);

    // 刷卡区: card, amount, store and the two buttons.
    auto *cardGroup = new QGroupBox(QStringLiteral(" 刷卡区 "), this);
    cardGroup->setObjectName(QStringLiteral("GroupBox1"));
    edt_CardNo = new QLineEdit(cardGroup);
    edt_CardNo->setObjectName(QStringLiteral("edt_CardNo"));
    edt_CardNo->setToolTip(QStringLiteral("输入完毕后,直接回车即可继续操作。"));
    BtnCard = MakeButton(cardGroup, "BtnCard", QStringLiteral(" 刷 卡"));
    edt_AddMoney = new QLineEdit(cardGroup);
    edt_AddMoney->setObjectName(QStringLiteral("edt_AddMoney"));
    cbStore = new QComboBox(cardGroup);
    cbStore->setObjectName(QStringLiteral("cbStore"));
    cbStore->setEditable(false);
    BtnOk = MakeButton(cardGroup, "BtnOk", QStringLiteral(" 确认(&O)"));
    BtnCancel = MakeButton(cardGroup, "BtnCancel", QStringLiteral(" 取消(&C)"));

    auto *cardForm = new QGridLayout(cardGroup);
    cardForm->setVerticalSpacing(10);
    const auto caption = [&](const QString &text, QWidget *buddy, int row) {
        auto *label = new QLabel(text, cardGroup);
        label->setBuddy(buddy);
        cardForm->addWidget(label, row, 0, Qt::AlignRight);
    };
    caption(QStringLiteral("卡    号"), edt_CardNo, 0);
    cardForm->addWidget(edt_CardNo, 0, 1);
    cardForm->addWidget(BtnCard, 0, 2);
    caption(QStringLiteral("充值金额"), edt_AddMoney, 1);
    cardForm->addWidget(edt_AddMoney, 1, 1, 1, 2);
    caption(QStringLiteral("店    名"), cbStore, 2);
    cardForm->addWidget(cbStore, 2, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    cardForm->addLayout(buttons, 3, 0, 1, 3);
    cardForm->setRowStretch(4, 1);
    cardGroup->setFixedWidth(290);

    // 基本信息: the member found.
    MemberInfo = new MemberPanel(RechargeFields(), this, MemberPanel::Style::Boxes,
                                 QStringLiteral(" 基本信息 "));

    // 数据浏览区: the history.
    auto *gridGroup = new QGroupBox(QStringLiteral(" 数据浏览区 "), this);
    gridGroup->setObjectName(QStringLiteral("GroupBox3"));
    DBGrid1 = new DataGridWidget(gridGroup);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    auto *gridLayout = new QVBoxLayout(gridGroup);
    gridLayout->setContentsMargins(4, 4, 4, 4);
    gridLayout->addWidget(DBGrid1);

    btnExcel = MakeButton(this, "btnExcel", QStringLiteral("导出Excel"));
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnExcel);

    auto *top = new QHBoxLayout;
    top->addWidget(cardGroup);
    top->addWidget(MemberInfo, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(billRow);
    layout->addLayout(top);
    layout->addWidget(gridGroup, 1);
    layout->addLayout(bottom);
    setFixedSize(860, 640);

    setTabOrder(edt_CardNo, BtnCard);
    setTabOrder(BtnCard, edt_AddMoney);
    setTabOrder(edt_AddMoney, cbStore);
    setTabOrder(cbStore, BtnOk);
    setTabOrder(BtnOk, BtnCancel);

    edt_CardNo->installEventFilter(this);
    edt_AddMoney->installEventFilter(this);
    connect(BtnCard, &QPushButton::clicked, this, &TAddMoney_Frm::BtnCardClick);
    connect(BtnOk, &QPushButton::clicked, this, &TAddMoney_Frm::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TAddMoney_Frm::BtnCancelClick);
    connect(btnExcel, &QPushButton::clicked, this, &TAddMoney_Frm::btnExcelClick);
    connect(edt_AddMoney, &QLineEdit::textEdited, this, &TAddMoney_Frm::amountEdited);
}

void TAddMoney_Frm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    CenterOnScreen(this);
    FormShow();
}

void TAddMoney_Frm::FormShow()
{
    NewBillNo();
    LoadStores();
    OpenHistory();
    ClearStatus();
    edt_AddMoney->setEnabled(false);
}

void TAddMoney_Frm::NewBillNo()
{
    QString billNo;
    if (Guarded(m_ctx.prompter,
                [&] { billNo = Recharge::NextBillNo(m_ctx.db, m_ctx.clock.today()); }))
        lbl_BillNo->setText(billNo);
}

void TAddMoney_Frm::LoadStores()
{
    cbStore->clear();
    const QuerySource stores = Recharge::Stores(m_ctx.session.login.MyDianMianID);
    const bool read = Guarded(m_ctx.prompter, [&] {
        QSqlQuery q = m_ctx.db.exec(stores.sql, stores.binds);
        while (q.next())
            cbStore->addItem(q.value(1).toString().trimmed(), q.value(0).toInt());
    });
    if (!read)
        return;
    if (cbStore->count() == 0)
        m_ctx.prompter.information(QStringLiteral("数据库中没有找到本店的资料，请与管理员联系。"));
    else
        cbStore->setCurrentIndex(0);
}

void TAddMoney_Frm::showHistory(const QuerySource &source)
{
    Guarded(m_ctx.prompter, [&] { DBGrid1->setSource(m_ctx.db, source); });
    ShowGrid();
}

void TAddMoney_Frm::OpenHistory()
{
    showHistory(Recharge::History());
}

void TAddMoney_Frm::ShowGrid()
{
    // Titles centred (the grid's own heading), cells left-aligned.
    DBGrid1->setColumnWidths(HistoryWidths);
}

void TAddMoney_Frm::ClearStatus()
{
    m_member.reset();
    MemberInfo->Clear();
    OpenHistory();
    edt_CardNo->clear();
    edt_AddMoney->clear();
    edt_CardNo->setEnabled(true);
    BtnCard->setEnabled(true);
    edt_AddMoney->setEnabled(false);
    edt_CardNo->setFocus();
}

void TAddMoney_Frm::BtnCardClick()
{
    const QString card = edt_CardNo->text().trimmed();
    if (card.isEmpty()) {
        m_ctx.prompter.information(QStringLiteral("卡号不能为空,请输入卡号!"));
        return;
    }
    std::optional<Member> found;
    if (!Guarded(m_ctx.prompter, [&] { found = Recharge::FindCard(m_ctx.db, card); }))
        return;
    if (found) {
        m_member = found;
        edt_CardNo->setEnabled(false);
        edt_AddMoney->setEnabled(true);
        for (QPushButton *b : {BtnOk, BtnCancel}) {
            b->setEnabled(true);
            b->setVisible(true);
        }
        MemberInfo->ShowMember(*found);
        showHistory(Recharge::CardHistory(card));
        edt_AddMoney->clear();
        edt_AddMoney->setFocus();
        return;
    }
    // No such card, or one held by two members: nobody is recharged. A
    // member shown before is forgotten with it.
    m_member.reset();
    MemberInfo->Clear();
    m_ctx.prompter.information(QStringLiteral("录入的卡号不正确或不存在，请重新录入!"));
    edt_CardNo->setEnabled(true);
    edt_CardNo->clear();
    edt_CardNo->setFocus();
    edt_AddMoney->setEnabled(false);
    BtnOk->setEnabled(false);
    BtnCancel->setEnabled(false);
    ShowGrid();
}

void TAddMoney_Frm::refuseAmount(const QString &message)
{
    ShowRefusal(m_ctx.prompter, this, Refusal{message, edt_AddMoney->objectName()});
}

void TAddMoney_Frm::BtnOkClick()
{
    if (!m_member) {
        ShowRefusal(m_ctx.prompter, this,
                    Refusal{QStringLiteral("请先刷卡!"), edt_CardNo->objectName()});
        return;
    }
    const QString typed = edt_AddMoney->text();
    if (typed.trimmed().isEmpty()) {
        refuseAmount(QStringLiteral("请输入充值金额!"));
        return;
    }
    if (cbStore->currentIndex() < 0) {
        m_ctx.prompter.information(QStringLiteral("请指定门店!"));
        return;
    }
    const RechargeAmount parsed = Recharge::ParseAmount(typed);
    if (parsed.refusal) {
        ShowRefusal(m_ctx.prompter, this, *parsed.refusal);
        return;
    }
    const Money amount = *parsed.amount;
    if (amount.isZero()) {
        refuseAmount(QStringLiteral("充值金额不能为零!"));
        return;
    }
    if (amount.isNegative() && !m_ctx.prompter.confirm(Recharge::WithdrawalQuestion()))
        return;

    RechargeRequest request;
    request.memberId = m_member->id;
    request.storeId = cbStore->currentData().toInt();
    request.amount = amount;
    request.maker = m_ctx.session.login.MyAdminName.trimmed();
    request.adminId = m_ctx.session.login.MyAdminID.trimmed().toInt();
    request.now = m_ctx.clock.now();
    RechargeResult result;
    // A failing write is shown and undone as a whole; the entries stay.
    if (!Guarded(m_ctx.prompter, [&] { result = Recharge(m_ctx.db).Run(request); }))
        return;
    if (result.refusal) {
        const QString focus = result.refusal->focus;
        if (focus == edt_CardNo->objectName()) {
            // The member is gone: the window starts over with a card.
            m_ctx.prompter.information(result.refusal->message);
            ClearStatus();
        } else if (focus == cbStore->objectName()) {
            m_ctx.prompter.information(result.refusal->message);
            LoadStores();
            cbStore->setFocus();
        } else {
            ShowRefusal(m_ctx.prompter, this, *result.refusal);
        }
        return;
    }
    emit m_ctx.notices.memberChanged(int(request.memberId));
    Guarded(m_ctx.prompter, [&] { DBGrid1->refresh(m_ctx.db); });
    ShowGrid();
    m_ctx.prompter.information(QStringLiteral("充值成功!"));
    NewBillNo();
    ClearStatus();
}

void TAddMoney_Frm::BtnCancelClick()
{
    edt_CardNo->clear();
    edt_CardNo->setEnabled(true);
    edt_CardNo->setFocus();
    edt_AddMoney->clear();
    ClearStatus();
    close();
}

void TAddMoney_Frm::btnExcelClick()
{
    ExportDataSetToExcel(m_ctx, DBGrid1->source());
}

void TAddMoney_Frm::amountEdited(const QString &text)
{
    // Keys are filtered as they come; what arrives otherwise (pasted,
    // dropped, an input method's text) and is no amount is thrown away.
    if (!Recharge::IsAmountText(text)) {
        edt_AddMoney->clear();
        edt_AddMoney->setFocus();
        return;
    }
    BtnOk->setEnabled(true);
    BtnCancel->setEnabled(true);
}

void TAddMoney_Frm::edt_AddMoneyExit()
{
    if (!isVisible() || !edt_AddMoney->isEnabled())
        return;
    // Confirming checks the length itself, and cancelling throws the
    // amount away: leaving for those two buttons is no exit to check.
    const QWidget *next = QApplication::focusWidget();
    if (next == BtnOk || next == BtnCancel)
        return;
    if (edt_AddMoney->text().trimmed().size() > Recharge::MaxAmountLength)
        refuseAmount(QStringLiteral("充值金额长度不能超过9位!"));
}

bool TAddMoney_Frm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != edt_CardNo && watched != edt_AddMoney)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (IsEnter(key)) {
            // Enter in the card box looks the card up; in the amount box it confirms.
            (watched == edt_CardNo ? BtnCard : BtnOk)->click();
            return true;
        }
        if (watched == edt_AddMoney) {
            // Digits, '-', one '.', Backspace; every other key is discarded.
            // Shortcuts (Ctrl+V) pass: what they bring is checked as edited.
            const QString typed = key->text();
            const bool shortcut =
                key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!shortcut && typed.size() == 1 && typed.at(0).isPrint() &&
                typed.at(0) != QLatin1Char('-') &&
                !AcceptsAmountKey(edt_AddMoney->text(), typed.at(0)))
                return true;
        }
    } else if (watched == edt_AddMoney && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            isVisible()) {
            // The check runs once the focus has settled: its message and
            // its return of the focus must not happen inside the change.
            QTimer::singleShot(0, this, [this] { edt_AddMoneyExit(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAddMoney_Frm::keyPressEvent(QKeyEvent *event)
{
    // Enter belongs to the boxes' own handling and to the focused button.
    if (IsEnter(event)) {
        if (auto *button = qobject_cast<QPushButton *>(focusWidget());
            button && button->isEnabled())
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
