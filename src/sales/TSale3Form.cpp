#include "sales/TSale3Form.h"

#include "members/MemberPanelWidget.h"
#include "products/TFrmGoodsQuery.h"
#include "sales/SaleLists.h"
#include "widgets/FormWidget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{

const QString NoShopMessage = QStringLiteral("数据库中没有找到本店的资料，请与管理员联系。");

QLabel *Caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit *Filled(const QString &name, int maxLength, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setReadOnly(true);
    return edit;
}

} // namespace

TSale3Form::TSale3Form(AppContext &ctx, QWidget *parent)
    : TSaleScreen(ctx, SaleScreenKind::Scan, parent)
{
    setObjectName(QStringLiteral("TSale3Form"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(20);
    QFont codeFont = Edit1->font();
    codeFont.setPointSize(codeFont.pointSize() + 3);
    Edit1->setFont(codeFont);
    Edit2 = Filled(QStringLiteral("Edit2"), 0, this);
    edtMark = Filled(QStringLiteral("edtMark"), 0, this);
    EditProName->setReadOnly(true);
    EditProPrice->setReadOnly(true);

    BtnScanCode = MakeButton(QStringLiteral("BtnScanCode"), QStringLiteral("  扫  码  "));
    btnQueryHand = MakeButton(QStringLiteral("btnQueryHand"), QStringLiteral("手工"));
    CreateButtons(QStringLiteral("BtnOk"), QStringLiteral("BtnCancel"),
                  QStringLiteral("BtnJoinBuy"), QStringLiteral("BitBtn1"),
                  QStringLiteral("查看明细"), QStringLiteral("BtnCancelBuy"),
                  QStringLiteral("BtnDeleteItem"), QStringLiteral("BtnPayMoney"));
    BtnOk = m_cardOkButton;
    BtnCancel = m_closeButton;
    BtnJoinBuy = m_joinButton;
    BitBtn1 = m_historyButton;
    BtnCancelBuy = m_abandonButton;
    BtnDeleteItem = m_deleteButton;
    BtnPayMoney = m_payButton;

    auto *items = new QGroupBox(QStringLiteral("   购买产品  "), this);
    items->setObjectName(QStringLiteral("GroupBox3"));
    auto *grid = new QGridLayout(items);
    grid->addWidget(Caption(QStringLiteral("编码："), items), 0, 0);
    grid->addWidget(Edit1, 0, 1, 1, 3);
    auto *scanButtons = new QHBoxLayout;
    scanButtons->addWidget(BtnScanCode);
    scanButtons->addWidget(btnQueryHand);
    grid->addLayout(scanButtons, 0, 4, 1, 2);
    grid->addWidget(Caption(QStringLiteral("分类："), items), 1, 0);
    grid->addWidget(Edit2, 1, 1);
    grid->addWidget(Caption(QStringLiteral("品牌："), items), 1, 2);
    grid->addWidget(edtMark, 1, 3);
    grid->addWidget(Caption(QStringLiteral("产品："), items), 1, 4);
    grid->addWidget(EditProName, 1, 5, 1, 3);
    grid->addWidget(Caption(QStringLiteral("价格："), items), 2, 0);
    grid->addWidget(EditProPrice, 2, 1);
    grid->addWidget(Caption(QStringLiteral("折扣："), items), 2, 2);
    grid->addWidget(ComboBox5, 2, 3);
    grid->addWidget(Caption(QStringLiteral("导购："), items), 2, 4);
    grid->addWidget(ComboBox3, 2, 5);
    grid->addWidget(Caption(QStringLiteral("店名："), items), 2, 6);
    grid->addWidget(ComboBox4, 2, 7);
    grid->addWidget(Caption(QStringLiteral("打折价："), items), 3, 0);
    grid->addWidget(EditProSalePrice, 3, 1);
    grid->addWidget(Caption(QStringLiteral("积分："), items), 3, 2);
    grid->addWidget(EditProJIfen, 3, 3);
    grid->addWidget(Caption(QStringLiteral("数量："), items), 3, 4);
    grid->addWidget(EditProShuliang, 3, 5);
    grid->addWidget(Caption(QStringLiteral("备注："), items), 4, 0);
    grid->addWidget(EditOrderOther, 4, 1, 1, 5);
    grid->addWidget(BtnJoinBuy, 3, 6, 2, 2);
    BtnJoinBuy->setMinimumHeight(48);
    for (int c = 1; c < 8; c += 2)
        grid->setColumnStretch(c, 1);

    AssembleScreen(items, 720);

    setTabOrder(Edit1, BtnScanCode);
    setTabOrder(BtnScanCode, btnQueryHand);
    setTabOrder(btnQueryHand, ComboBox5);
    setTabOrder(ComboBox5, ComboBox3);
    setTabOrder(ComboBox3, ComboBox4);
    setTabOrder(ComboBox4, EditProSalePrice);
    setTabOrder(EditProSalePrice, EditProJIfen);
    setTabOrder(EditProJIfen, EditProShuliang);
    setTabOrder(EditProShuliang, EditOrderOther);
    setTabOrder(EditOrderOther, BtnJoinBuy);

    // A looked-up product refills the discounted price and the points.
    connect(Edit2, &QLineEdit::textChanged, this, &TSaleScreen::EditProPriceChange);
    connect(edtMark, &QLineEdit::textChanged, this, &TSaleScreen::EditProPriceChange);
    connect(BtnScanCode, &QPushButton::clicked, this, &TSale3Form::BitBtn8Click);
    connect(btnQueryHand, &QPushButton::clicked, this, &TSale3Form::btnQueryHandClick);
}

void TSale3Form::ClearProductFields()
{
    Edit2->clear();
    edtMark->clear();
    EditProName->clear();
    EditProPrice->clear();
    EditProSalePrice->clear();
    EditProJIfen->clear();
    EditOrderOther->clear();
}

void TSale3Form::FormOnShow()
{
    TSaleScreen::FormOnShow();
    Edit1->clear();
    ClearProductFields();
    FillDaogouAndDiscountLists();
    // Only a warning here: the card check refuses to sell without a shop.
    if (!FillShopList())
        m_ctx.prompter.information(NoShopMessage);
}

bool TSale3Form::BeforeCardCheck()
{
    bool any = false;
    if (!Guarded(m_ctx.prompter,
                 [&] { any = SaleLists::HasShop(m_ctx.db, m_ctx.session.login.MyDianMianID); }))
        return false;
    if (!any) {
        m_ctx.prompter.information(NoShopMessage);
        close();
        return false;
    }
    return true;
}

void TSale3Form::AfterCardAccepted()
{
    Edit1->setFocus();
}

QString TSale3Form::ItemBrandText() const
{
    return edtMark->text();
}

QString TSale3Form::ItemCategoryText() const
{
    return Edit2->text();
}

void TSale3Form::BitBtn8Click()
{
    const QString code = Edit1->text();
    if (code.isEmpty()) {
        Edit1->setFocus();
        return;
    }
    ClearProductFields();
    EditProShuliang->setText(QStringLiteral("1"));
    std::optional<ScannedProduct> product;
    if (!Guarded(m_ctx.prompter, [&] { product = SaleLists::ProductByCode(m_ctx.db, code); }))
        return;
    if (!product) {
        ShowRefusal(m_ctx.prompter, this,
                    {QStringLiteral("没有找到该编码的产品！"), QStringLiteral("Edit1")});
        return;
    }
    Edit2->setText(product->category);
    edtMark->setText(product->brand);
    EditProName->setText(product->name);
    EditProPrice->setText(product->price);
    Edit1->clear();
    BtnJoinBuy->setFocus();
}

void TSale3Form::btnQueryHandClick()
{
    if (!m_goodsQuery)
        m_goodsQuery = new TFrmGoodsQuery(m_ctx, this);
    const std::optional<QString> code = m_goodsQuery->PickCode();
    if (!code)
        return;
    Edit1->setText(*code);
    BitBtn8Click();
}

void TSale3Form::AfterItemAdded()
{
    Edit1->clear();
    ClearProductFields();
    EditProShuliang->setText(QStringLiteral("1"));
    BtnPayMoney->setFocus();
}

void TSale3Form::AfterAbandon()
{
    UserCard->setFocus();
}

void TSale3Form::ResetSaleScreen()
{
    TSaleScreen::ResetSaleScreen();
    Edit1->clear();
    Edit2->clear();
    edtMark->clear();
    EditProSalePrice->clear();
    EditProJIfen->clear();
    EditProShuliang->setText(QStringLiteral("1"));
}

QPushButton *TSale3Form::EnterButtonFor(const QWidget *focused) const
{
    if (focused == Edit1)
        return BtnScanCode;
    return TSaleScreen::EnterButtonFor(focused);
}
