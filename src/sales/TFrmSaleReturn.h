#pragma once

#include "context/AppContext.h"
#include "members/Member.h"

#include <QDialog>
#include <optional>

class DataGridWidget;
class MemberPanel;
class QCheckBox;
class QLineEdit;
class QPushButton;
class TFrmReturnDialog;

// 销售退货: a member's lines that can still be returned, and the return of
// one of them (SaleReturn) with the refund split asked for a sale paid both
// in cash and from stored value.
class TFrmSaleReturn : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmSaleReturn(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *edt_CardNo;
    QPushButton *btnOk;
    QPushButton *btnCancel;
    MemberPanel *MemberInfo;
    DataGridWidget *DBGrid1; // the member's lines that can be returned
    QPushButton *btnReturn;
    QPushButton *BtnClose;
    QPushButton *btnExcel;
    QCheckBox *chk_ExcelAll;

    void FormShow();
    void btnOkClick();
    void btnCancelClick();
    void btnReturnClick();
    void btnExcelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // No member: empty panel, empty grid.
    void ClearMember();
    void ShowHistory(qint64 memberId);

    AppContext &m_ctx;
    std::optional<Member> m_member;
    TFrmReturnDialog *m_dialog;
};
