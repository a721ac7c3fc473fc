#pragma once

#include "context/AppContext.h"
#include "data/QuerySource.h"
#include "members/Member.h"

#include <QDialog>
#include <optional>

class DataGridWidget;
class MemberPanel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// 充值单: puts money on a member's stored value, or takes it off with a
// negative amount (a cash withdrawal), one record per recharge; shows the
// recharge history and exports it. Kept for the whole run: opened modal
// from the tool bar and modeless from the menu, and every opening starts
// afresh (new bill number, fresh store list, whole history).
class TAddMoney_Frm : public QDialog
{
    Q_OBJECT
public:
    explicit TAddMoney_Frm(AppContext &ctx, QWidget *parent = nullptr);

    QLabel *lbl_BillNo; // the bill number the next recharge carries
    QLineEdit *edt_CardNo;
    QPushButton *BtnCard;
    QLineEdit *edt_AddMoney;
    QComboBox *cbStore;
    QPushButton *BtnOk, *BtnCancel;
    MemberPanel *MemberInfo; // the twelve read-only boxes of the member found
    DataGridWidget *DBGrid1;
    QPushButton *btnExcel;

    void FormShow();
    void BtnCardClick();
    void BtnOkClick();
    void BtnCancelClick();
    void ClearStatus();
    void ShowGrid();
    void btnExcelClick();

    // The member looked up, while the window is in its second state.
    const std::optional<Member> &member() const { return m_member; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void NewBillNo();
    void LoadStores();
    void OpenHistory();
    void edt_AddMoneyExit();
    void amountEdited(const QString &text);
    void showHistory(const QuerySource &source);
    // Shows a refusal of the amount box: message, whole text selected, focus.
    void refuseAmount(const QString &message);

    AppContext &m_ctx;
    std::optional<Member> m_member;
};
