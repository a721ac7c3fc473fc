#pragma once

#include "sales/TSaleScreen.h"

// 消费, standard mode: the operator types each item by hand (brand,
// category, shop assistant, shop, name, price, discount, points, quantity).
// Lives for the whole run and is shown modeless.
class TSaleForm : public TSaleScreen
{
    Q_OBJECT
public:
    explicit TSaleForm(AppContext &ctx, QWidget *parent = nullptr);

    QComboBox *ComboBox1; // brand (品牌)
    QComboBox *ComboBox2; // category (分类)
    QPushButton *BitBtn1; // 确定: the card check
    QPushButton *BitBtn7; // 取消: closes the screen
    QPushButton *BitBtn2; // 加入购买
    QPushButton *BtnView; // 消费历史
    QPushButton *BitBtn6; // 放弃购买
    QPushButton *BitBtn3; // 删除一项
    QPushButton *BitBtn5; // 收款j结帐

protected:
    void FormOnShow() override;
    void AfterCardAccepted() override;
    QString ItemBrandText() const override;
    QString ItemCategoryText() const override;
    void AfterItemAdded() override;
};
