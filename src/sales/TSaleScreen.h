#pragma once

#include "context/AppContext.h"
#include "members/Member.h"
#include "sales/OpenBill.h"
#include "sales/SaleLine.h"

#include <QDialog>

class DataGridWidget;
class MemberPanel;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TFrmCardPwd;
class TPayType_Frm;

// What the two member sale screens share: the card check with the card
// password, the member shown, the discount, points, shop assistant and shop
// of an item, the open bill with its total, and the hand-over to the
// checkout. TSaleForm types items by hand, TSale3Form looks them up by code.
class TSaleScreen : public QDialog
{
    Q_OBJECT
public:
    TSaleScreen(AppContext &ctx, SaleScreenKind kind, QWidget *parent);
    ~TSaleScreen() override;

    SaleScreenKind kind() const { return m_kind; }
    // The member shown (0 when none was accepted since the screen was shown).
    qint64 currentMemberId() const { return m_member ? m_member->id : 0; }

    QLineEdit *UserCard;
    MemberPanel *MemberInfo;
    QComboBox *ComboBox3; // shop assistant (导购)
    QComboBox *ComboBox4; // shop (店名)
    QComboBox *ComboBox5; // discount factor (折扣)
    QLineEdit *EditProName, *EditProPrice, *EditProSalePrice, *EditProJIfen, *EditProShuliang,
        *EditOrderOther;
    DataGridWidget *DBGrid2; // the open bill
    QLabel *LabelMoneyAll;   // shows the bill total (应收款)
    QLabel *JifenAll;        // hidden: shows the bill's points total, "0.00"

    // The handlers shared by both screens.
    void CardCheck();
    void EditProPriceChange();
    void ProSalePriceOnChange();
    void AddItem();
    void DeleteItem();
    void AbandonBill();
    void StartCheckout();
    void ShowHistory();
    void RefreshOrderGrid();
    // After a paid bill: the member and item fields emptied, an empty bill.
    virtual void ResetSaleScreen();

signals:
    // The operator asked for the shown member's consumption history.
    void consumptionHistoryRequested(const QString &card);

protected:
    // Made by the subclass constructors (names and captions differ by screen).
    QPushButton *m_cardOkButton = nullptr;  // 确定: the card check
    QPushButton *m_closeButton = nullptr;   // 取消: closes the screen
    QPushButton *m_joinButton = nullptr;    // 加入购买
    QPushButton *m_historyButton = nullptr; // consumption history
    QPushButton *m_abandonButton = nullptr; // 放弃购买
    QPushButton *m_deleteButton = nullptr;  // 删除一项
    QPushButton *m_payButton = nullptr;     // 收款j结帐

    // Creates the buttons under their screen's names and connects everything
    // shared; called by the subclass constructor once its own controls exist.
    void CreateButtons(const QString &cardOk, const QString &close, const QString &join,
                       const QString &history, const QString &historyCaption,
                       const QString &abandon, const QString &remove, const QString &pay);
    QGroupBox *BuildCardGroup();
    // Lays out the card group and member data above the screen's item
    // entry and the open bill, in a window `height` pixels high.
    void AssembleScreen(QGroupBox *items, int height);
    QGroupBox *BuildBillGroup();
    QPushButton *MakeButton(const QString &name, const QString &caption);

    // Resets the screen each time it is shown.
    virtual void FormOnShow();
    // Runs before the card check; false stops it.
    virtual bool BeforeCardCheck() { return true; }
    virtual void AfterCardAccepted() = 0;
    // The item's brand and category as the screen shows them (chosen from
    // lists on the standard screen, read from the product on the scan screen).
    virtual QString ItemBrandText() const = 0;
    virtual QString ItemCategoryText() const = 0;
    // The item entry's texts.
    SaleLineInput ItemInput() const;
    // Empties the item entry after an added line.
    virtual void AfterItemAdded() = 0;
    virtual void AfterAbandon() {}
    // Closing abandons an unpaid bill.
    virtual void SaleFormOnClose();

    // The button Enter presses while `focused` (not a button) has the focus:
    // 确定 from the card field; elsewhere 加入购买 on the standard screen and
    // nothing on the scan screen.
    virtual QPushButton *EnterButtonFor(const QWidget *focused) const;
    // Shows the button Enter would press as the default button.
    void ShowEnterButton();
    void FillDaogouAndDiscountLists();
    // Fills the shop list with the shops this copy works for; false when
    // there is none (or the list could not be read).
    bool FillShopList();

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

    AppContext &m_ctx;

private:
    TFrmCardPwd *PasswordPrompt();
    TPayType_Frm *PayForm();

    SaleScreenKind m_kind;
    // The member accepted by the card check, and the open bill as shown.
    std::optional<Member> m_member;
    OpenBill::Totals m_bill;
    // Keeps and shows the bill's totals.
    void ShowTotals(const OpenBill::Totals &bill);
    // No member shown: empty panel, totals "0".
    void ForgetMember();
    QString m_cardPwd; // the last password the prompt handed back
    TFrmCardPwd *m_pwdPrompt = nullptr;
    TPayType_Frm *m_payForm = nullptr;
};
