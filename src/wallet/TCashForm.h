#pragma once

#include "context/AppContext.h"
#include "members/Member.h"
#include "wallet/Redemption.h"

#include <QDialog>
#include <optional>

class DataGridWidget;
class GridPanel;
class MemberPanel;
class QLineEdit;
class QPushButton;
class TFrmCardPwd;

// 兑分: a member exchanges points for an item and pays the rest of its value
// in cash. Looks the member up by card (with the card password when the shop
// uses them), accepts only members above the shop's points threshold and
// lists the redemptions, everybody's or the member's. Modeless.
class TCashForm : public QDialog
{
    Q_OBJECT
public:
    explicit TCashForm(AppContext &ctx, QWidget *parent = nullptr);
    ~TCashForm() override;

    // The member shown (0 when none).
    qint64 currentMemberId() const { return m_member ? m_member->id : 0; }

    QLineEdit *Edit1; // card number to look up
    QPushButton *BtnMember;
    QLineEdit *Edit2; // item taken (物品)
    QLineEdit *Edit3; // item value in money (价值)
    QLineEdit *Edit4; // points to redeem (所兑积分)
    QLineEdit *Edit5; // cash paid on top (加现金)
    QLineEdit *Edit6; // remark (备注)
    QPushButton *BtnOk;
    MemberPanel *MemberInfo; // 用户信息: UserCard ... UserAddress
    DataGridWidget *DBGrid1; // the redemptions
    QPushButton *btnExcel, *btnClose;

    void SashFormOnshow();
    void BtnMemberClick();
    void Edit1OnEnter();
    void Edit2OnEnter();
    void Edit5Enter();
    void BtnOkClick();
    void btnCloseClick();
    void btnExcelClick();
    void FormClose();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    // The redemptions of one member, or everybody's (0), newest first.
    void LoadCashGrid(qint64 memberId);
    // No member: labels empty, nothing kept.
    void ClearMemberLabels();
    void SetInputsEnabled(bool enabled);
    void ShowLoadedMember(const Member &member);
    RedemptionTexts TypedTexts() const;
    // Shows a refusal of the confirmation and moves the focus.
    void Refuse(const Refusal &refusal);
    // A member changed (here or at another window): the one shown, and the
    // list, are read again.
    void MemberChanged(int memberId);
    // The member shown as stored now; nobody when the row is gone. The
    // inputs close when no points are left.
    void ReloadMember();
    TFrmCardPwd *PasswordPrompt();

    AppContext &m_ctx;
    GridPanel *m_records;
    std::optional<Member> m_member; // the member shown, as looked up
    QString m_lastCard;             // the card number last looked up
    QString m_cardPwd;              // the last password the prompt handed back
    TFrmCardPwd *m_pwdPrompt = nullptr;
    bool m_placed = false; // centred on the screen once
};
