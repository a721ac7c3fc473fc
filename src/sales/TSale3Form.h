#pragma once

#include "sales/TSaleScreen.h"

class TFrmGoodsQuery;

// 消费, scan mode: items are looked up in the shop's catalogue by a scanned
// or typed product code (or picked through 手工); the catalogue fills
// category, brand, name and list price. Lives for the whole run and is
// shown modally.
class TSale3Form : public TSaleScreen
{
    Q_OBJECT
public:
    explicit TSale3Form(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *Edit1;           // product code, typed or scanned
    QPushButton *BtnScanCode;   // 扫码: looks the code up
    QPushButton *btnQueryHand;  // 手工: the product search
    QLineEdit *Edit2;           // category, filled by the lookup
    QLineEdit *edtMark;         // brand, filled by the lookup
    QPushButton *BtnOk;         // 确定: the card check
    QPushButton *BtnCancel;     // 取消: closes the screen
    QPushButton *BtnJoinBuy;    // 加入购买
    QPushButton *BitBtn1;       // 查看明细: consumption history
    QPushButton *BtnCancelBuy;  // 放弃购买
    QPushButton *BtnDeleteItem; // 删除一项
    QPushButton *BtnPayMoney;   // 收款j结帐

    // 扫码: the product lookup.
    void BitBtn8Click();
    // 手工: the product search; a picked code is looked up as if scanned.
    void btnQueryHandClick();
    void ResetSaleScreen() override;

protected:
    void FormOnShow() override;
    bool BeforeCardCheck() override;
    void AfterCardAccepted() override;
    QString ItemBrandText() const override;
    QString ItemCategoryText() const override;
    void AfterItemAdded() override;
    void AfterAbandon() override;
    QPushButton *EnterButtonFor(const QWidget *focused) const override;

private:
    void ClearProductFields();

    TFrmGoodsQuery *m_goodsQuery = nullptr;
};
