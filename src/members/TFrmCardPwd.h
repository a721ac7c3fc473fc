#pragma once

#include "context/AppContext.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;

// Asks for a member card's password. The caller compares the answer with the
// stored User_CardPWD; the prompt itself refuses nothing.
class TFrmCardPwd : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmCardPwd(AppContext &ctx, QWidget *parent = nullptr);

    // Shows the prompt modally; the typed text trimmed on 确定/Enter, nothing on 关闭.
    std::optional<QString> AskPassword();

    QLineEdit *edtCardPwd;
    QPushButton *btnOk, *btnClose;

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext &m_ctx;
};
