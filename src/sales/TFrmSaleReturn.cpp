#include "sales/TFrmSaleReturn.h"

#include "data/Database.h"
#include "export/ExcelExport.h"
#include "members/MemberPanelWidget.h"
#include "sales/SaleReturn.h"
#include "sales/TFrmReturnDialog.h"
#include "widgets/DataGridWidget.h"
#include "widgets/FormWidget.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace
{

const QList<int> HistoryWidths = {30, 50, 90, 100, 80, 80, 80, 80, 80, 80, 80, 80, 80};

QList<MemberPanelField> ReturnFields()
{
    using F = MemberField;
    return {
        {QStringLiteral("lbl_CardNo"), QStringLiteral("卡号："), F::Card, 0, 0},
        {QStringLiteral("lbl_Name"), QStringLiteral("姓名："), F::Name, 0, 1},
        {QStringLiteral("lbl_Gender"), QStringLiteral("性别："), F::Sex, 0, 2},
        {QStringLiteral("lbl_JiFen"), QStringLiteral("积分："), F::Points, 1, 0},
        {QStringLiteral("lbl_SalePrice"), QStringLiteral("消费金额："), F::Spending, 1, 1},
        {QStringLiteral("lbl_ChuZhiJinE"), QStringLiteral("储值金额："), F::Balance, 1, 2},
        {QStringLiteral("lbl_Job"), QStringLiteral("职业："), F::Work, 2, 0},
        {QStringLiteral("lbl_Tel"), QStringLiteral("电话："), F::Tel, 2, 1},
        {QStringLiteral("lbl_Mobi"), QStringLiteral("手机："), F::Mobi, 2, 2},
        {QStringLiteral("lbl_Address"), QStringLiteral("地址："), F::Address, 3, 0, 5},
        {QStringLiteral("lbl_Memo"), QStringLiteral("备注："), F::Other, 4, 0, 5},
    };
}

} // namespace

TFrmSaleReturn::TFrmSaleReturn(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMinimizeButtonHint),
      m_ctx(ctx), m_dialog(new TFrmReturnDialog(ctx.prompter, this))
{
    setObjectName(QStringLiteral("TFrmSaleReturn"));
    setWindowTitle(QStringLiteral("销售退货"));

    auto *cardGroup = new QGroupBox(QStringLiteral("  刷卡区  "), this);
    edt_CardNo = MakeLineEdit(cardGroup, "edt_CardNo", 18);
    edt_CardNo->installEventFilter(this);
    btnOk = MakeButton(cardGroup, "btnOk", QStringLiteral("  确  定"));
    btnCancel = MakeButton(cardGroup, "btnCancel", QStringLiteral("  取  消"));
    auto *cardLayout = new QVBoxLayout(cardGroup);
    auto *cardRow = new QHBoxLayout;
    cardRow->addWidget(new QLabel(QStringLiteral("会员卡号："), cardGroup));
    cardRow->addWidget(edt_CardNo);
    cardLayout->addLayout(cardRow);
    auto *cardButtons = new QHBoxLayout;
    cardButtons->addWidget(btnOk);
    cardButtons->addWidget(btnCancel);
    cardLayout->addLayout(cardButtons);
    cardLayout->addStretch();

    MemberInfo = new MemberPanel(ReturnFields(), this, MemberPanel::Style::Labels,
                                 QStringLiteral("  基本信息  "));

    auto *historyGroup = new QGroupBox(QStringLiteral("  消费历史  "), this);
    DBGrid1 = new DataGridWidget(historyGroup);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    auto *historyLayout = new QVBoxLayout(historyGroup);
    historyLayout->addWidget(DBGrid1);

    btnReturn = MakeButton(this, "btnReturn", QStringLiteral("退货"));
    BtnClose = MakeButton(this, "BtnClose", QStringLiteral("关闭"));
    btnExcel = MakeButton(this, "btnExcel", QStringLiteral("导出Excel"));
    chk_ExcelAll = new QCheckBox(QStringLiteral("导出当前的退货记录"), this);
    chk_ExcelAll->setObjectName(QStringLiteral("chk_ExcelAll"));

    auto *top = new QHBoxLayout;
    top->addWidget(cardGroup);
    top->addWidget(MemberInfo, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chk_ExcelAll);
    bottom->addStretch();
    bottom->addWidget(btnExcel);
    bottom->addWidget(btnReturn);
    bottom->addWidget(BtnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(historyGroup, 1);
    layout->addLayout(bottom);
    resize(900, 560);

    connect(btnOk, &QPushButton::clicked, this, &TFrmSaleReturn::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TFrmSaleReturn::btnCancelClick);
    connect(btnReturn, &QPushButton::clicked, this, &TFrmSaleReturn::btnReturnClick);
    connect(DBGrid1, &DataGridWidget::rowActivated, this, &TFrmSaleReturn::btnReturnClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(btnExcel, &QPushButton::clicked, this, &TFrmSaleReturn::btnExcelClick);
}

void TFrmSaleReturn::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmSaleReturn::closeEvent(QCloseEvent *event)
{
    ClearMember();
    edt_CardNo->clear();
    chk_ExcelAll->setChecked(false);
    QDialog::closeEvent(event);
}

bool TFrmSaleReturn::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the card box (a scanner ends with it) looks the member up.
    if (watched == edt_CardNo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnOkClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmSaleReturn::FormShow()
{
    chk_ExcelAll->setChecked(false);
    ClearMember();
    edt_CardNo->setFocus();
}

void TFrmSaleReturn::ClearMember()
{
    m_member.reset();
    MemberInfo->Clear();
    ShowHistory(-1);
}

void TFrmSaleReturn::ShowHistory(qint64 memberId)
{
    Guarded(m_ctx.prompter, [&] {
        DBGrid1->setSource(m_ctx.db, SaleReturn::History(memberId));
        DBGrid1->setColumnWidths(HistoryWidths);
    });
}

void TFrmSaleReturn::btnOkClick()
{
    const QString card = edt_CardNo->text().trimmed();
    if (card.isEmpty()) {
        m_ctx.prompter.information(QStringLiteral("会员卡卡号不能为空,请输入会员卡号!"));
        ClearMember();
        edt_CardNo->clear();
        edt_CardNo->setFocus();
        return;
    }
    std::optional<Member> found;
    if (!Guarded(m_ctx.prompter, [&] { found = LoadMemberByCard(m_ctx.db, card); }))
        return;
    if (!found) {
        m_ctx.prompter.information(QStringLiteral("录入的卡号不正确,请核对录入的卡号是否正确!"));
        ClearMember();
        edt_CardNo->selectAll();
        edt_CardNo->setFocus();
        return;
    }
    m_member = found;
    MemberInfo->ShowMember(*m_member);
    ShowHistory(m_member->id);
}

void TFrmSaleReturn::btnCancelClick()
{
    ClearMember();
    edt_CardNo->clear();
    edt_CardNo->setFocus();
}

void TFrmSaleReturn::btnReturnClick()
{
    if (!m_member || !DBGrid1->hasCurrentRow())
        return;
    const qint64 lineId = DBGrid1->currentValue(QStringLiteral("序号")).toLongLong();
    if (!m_ctx.prompter.confirm(QStringLiteral("确实需要退货吗?")))
        return;
    std::variant<SaleReturn::Plan, Refusal> prepared;
    if (!Guarded(m_ctx.prompter,
                 [&] { prepared = SaleReturn::Prepare(m_ctx.db, m_member->id, lineId); }))
        return;
    if (const auto *refusal = std::get_if<Refusal>(&prepared)) {
        m_ctx.prompter.information(refusal->message);
        ShowHistory(m_member->id);
        return;
    }
    const SaleReturn::Plan plan = std::get<SaleReturn::Plan>(prepared);
    SaleReturn::Request request{m_member->id, lineId, std::nullopt};
    if (plan.payment == SaleReturn::Payment::Mixed) {
        request.split = m_dialog->AskSplit(plan);
        activateWindow();
        if (!request.split)
            return; // 关闭: nothing returned
    }
    SaleReturn::Result result;
    if (!Guarded(m_ctx.prompter, [&] { result = SaleReturn::Run(m_ctx.db, request); }))
        return;
    if (result.refusal) {
        m_ctx.prompter.information(result.refusal->message);
        ShowHistory(m_member->id);
        return;
    }
    emit m_ctx.notices.salesChanged();
    emit m_ctx.notices.memberChanged(int(m_member->id));
    m_ctx.prompter.information(QStringLiteral("退货成功!"));
    // The member looked up again: the returned line leaves the list, the
    // points and amounts show as they are now.
    edt_CardNo->setText(m_member->card.trimmed());
    btnOkClick();
}

void TFrmSaleReturn::btnExcelClick()
{
    if (chk_ExcelAll->isChecked()) {
        ExportDataSetToExcel(m_ctx, DBGrid1->source());
        return;
    }
    ExportDataSetToExcel(m_ctx, SaleReturn::ReturnedLinesExport());
}
