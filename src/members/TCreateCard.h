#pragma once

#include "context/AppContext.h"
#include "members/MemberRules.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// 建卡: issues member cards one after another. Shown modeless; stays open
// after each card, ready for the next.
class TCreateCard : public QDialog
{
    Q_OBJECT
public:
    explicit TCreateCard(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *UserCard, *UserName;
    QComboBox *UserSex, *UserYear, *UserMonth, *UserDay;
    QLineEdit *UserTel, *UserMobi, *UserAddress, *UserWork, *UserWenhua;
    QLineEdit *UserLikeColor, *UserSize, *UserYaowei; // the three free member fields
    QLabel *Label5;                                   // caption of UserLikeColor
    QLabel *Label14;                                  // caption of UserSize
    QLabel *Label16;                                  // caption of UserYaowei
    QPlainTextEdit *UserOther;
    QDateEdit *dtp_CardDate;
    QLineEdit *edt_FirstPwd, *edt_ConfirmPwd;
    QCheckBox *chk_CardStop;
    QPushButton *BtnOk, *BtnCancel;

    // Prepares the window for a new card (run by each showing).
    void FormShow();
    void BtnOkClick();
    void BtnCancelClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    MemberFields collect() const;
    void clearAfterIssue();

    AppContext &m_ctx;
};
