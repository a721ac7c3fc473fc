#pragma once

#include "sales/SaleReturn.h"

#include <QDialog>
#include <optional>

class Prompter;
class QLineEdit;
class QPushButton;

// The refund split of a return from a sale paid partly in cash and partly
// from stored value: how much of the returned amount goes back in cash and
// how much to the card.
class TFrmReturnDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmReturnDialog(Prompter &prompter, QWidget *parent = nullptr);

    // Shows the dialog modally, filled with the sale's cash and card totals
    // and the amount returned. The split confirmed; nothing on 关闭.
    std::optional<SaleReturn::Split> AskSplit(const SaleReturn::Plan &plan);

    QLineEdit *edtPayMoney; // 应退金额, read-only
    QLineEdit *edt_Cash;    // 现金
    QLineEdit *edt_Card;    // 储值卡
    QPushButton *btnOk;
    QPushButton *btnClose;

    void btnOkClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Prompter &m_prompter;
    SaleReturn::Plan m_plan;
    std::optional<SaleReturn::Split> m_split;
};
