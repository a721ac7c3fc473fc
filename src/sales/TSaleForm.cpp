#include "sales/TSaleForm.h"

#include "members/MemberPanelWidget.h"
#include "sales/SaleLists.h"
#include "widgets/FormWidget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{

QLabel *Caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

TSaleForm::TSaleForm(AppContext &ctx, QWidget *parent)
    : TSaleScreen(ctx, SaleScreenKind::Standard, parent)
{
    setObjectName(QStringLiteral("TSaleForm"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumWidth(110);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setMinimumWidth(110);

    CreateButtons(QStringLiteral("BitBtn1"), QStringLiteral("BitBtn7"), QStringLiteral("BitBtn2"),
                  QStringLiteral("BtnView"), QStringLiteral("消费历史"), QStringLiteral("BitBtn6"),
                  QStringLiteral("BitBtn3"), QStringLiteral("BitBtn5"));
    BitBtn1 = m_cardOkButton;
    BitBtn7 = m_closeButton;
    BitBtn2 = m_joinButton;
    BtnView = m_historyButton;
    BitBtn6 = m_abandonButton;
    BitBtn3 = m_deleteButton;
    BitBtn5 = m_payButton;

    auto *items = new QGroupBox(QStringLiteral("   购买产品录入  "), this);
    items->setObjectName(QStringLiteral("GroupBox3"));
    auto *grid = new QGridLayout(items);
    grid->addWidget(Caption(QStringLiteral("品牌："), items), 0, 0);
    grid->addWidget(ComboBox1, 0, 1);
    grid->addWidget(Caption(QStringLiteral("分类："), items), 0, 2);
    grid->addWidget(ComboBox2, 0, 3);
    grid->addWidget(Caption(QStringLiteral("导购："), items), 0, 4);
    grid->addWidget(ComboBox3, 0, 5);
    grid->addWidget(Caption(QStringLiteral("店名："), items), 0, 6);
    grid->addWidget(ComboBox4, 0, 7);
    grid->addWidget(Caption(QStringLiteral("产品："), items), 1, 0);
    grid->addWidget(EditProName, 1, 1, 1, 3);
    grid->addWidget(Caption(QStringLiteral("价格："), items), 1, 4);
    grid->addWidget(EditProPrice, 1, 5);
    grid->addWidget(Caption(QStringLiteral("折扣："), items), 1, 6);
    grid->addWidget(ComboBox5, 1, 7);
    grid->addWidget(Caption(QStringLiteral("打折价："), items), 2, 0);
    grid->addWidget(EditProSalePrice, 2, 1);
    grid->addWidget(Caption(QStringLiteral("积分："), items), 2, 2);
    grid->addWidget(EditProJIfen, 2, 3);
    grid->addWidget(Caption(QStringLiteral("数量："), items), 2, 4);
    grid->addWidget(EditProShuliang, 2, 5);
    grid->addWidget(Caption(QStringLiteral("备注："), items), 3, 0);
    grid->addWidget(EditOrderOther, 3, 1, 1, 5);
    grid->addWidget(BitBtn2, 2, 6, 2, 2);
    BitBtn2->setMinimumHeight(48);
    for (int c = 1; c < 8; c += 2)
        grid->setColumnStretch(c, 1);

    AssembleScreen(items, 700);

    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, ComboBox3);
    setTabOrder(ComboBox3, ComboBox4);
    setTabOrder(ComboBox4, EditProName);
    setTabOrder(EditProName, EditProPrice);
    setTabOrder(EditProPrice, ComboBox5);
    setTabOrder(ComboBox5, EditProSalePrice);
    setTabOrder(EditProSalePrice, EditProJIfen);
    setTabOrder(EditProJIfen, EditProShuliang);
    setTabOrder(EditProShuliang, EditOrderOther);
    setTabOrder(EditOrderOther, BitBtn2);
}

void TSaleForm::FormOnShow()
{
    TSaleScreen::FormOnShow();
    Guarded(m_ctx.prompter, [&] {
        FillComboBox(ComboBox1, m_ctx.db, SaleLists::Brands());
        ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
        FillComboBox(ComboBox2, m_ctx.db, SaleLists::Categories());
        ComboBox2->setCurrentIndex(ComboBox2->count() > 0 ? 0 : -1);
    });
    FillDaogouAndDiscountLists();
    FillShopList();
}

void TSaleForm::AfterCardAccepted()
{
    ComboBox1->setFocus();
}

QString TSaleForm::ItemBrandText() const
{
    return ComboBox1->currentText();
}

QString TSaleForm::ItemCategoryText() const
{
    return ComboBox2->currentText();
}

void TSaleForm::AfterItemAdded()
{
    EditProName->clear();
    EditProPrice->clear();
    EditProSalePrice->clear();
    EditProJIfen->clear();
    EditOrderOther->clear();
    EditProShuliang->setText(QStringLiteral("1"));
    BitBtn5->setFocus();
}
