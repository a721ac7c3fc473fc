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

// 修改用户信息: edits one member. The member is the one whose User_ID the
// caller put into the login value MyUserID; EditMember does that.
class TModiMemberInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TModiMemberInfo(AppContext &ctx, QWidget *parent = nullptr);

    // Opens the dialog modally for member `userId`; true when it was saved.
    bool EditMember(const QString &userId);

    QLineEdit *Edit1;            // card number
    QLineEdit *Edit2;            // name
    QComboBox *ComboBox1;        // sex
    QComboBox *ComboBox2;        // birth year
    QComboBox *ComboBox3;        // birth month
    QComboBox *ComboBox4;        // birth day
    QLineEdit *Edit3;            // occupation
    QLineEdit *Edit4;            // education
    QLineEdit *Edit5;            // first free member field
    QLineEdit *Edit6;            // second free member field
    QLineEdit *Edit7;            // third free member field
    QLineEdit *Edit8;            // telephone
    QLineEdit *Edit9;            // mobile
    QLineEdit *Edit10;           // address
    QLabel *Label5;              // caption of Edit5
    QLabel *Label2;              // caption of Edit6
    QLabel *Label6;              // caption of Edit7
    QPlainTextEdit *Memo1;       // remarks
    QDateEdit *dtp_CardDate;     // valid until
    QCheckBox *chk_UserCardStop; // locked
    QLineEdit *edt_FirstPwd;     // the stored password, read-only
    QLineEdit *edt_SecondPwd, *edt_ConfirmPwd;
    QPushButton *BtnOk, *BtnCancel;

    // Loads the member of MyUserID into the fields (run by each showing).
    void FormShow();
    void BtnOkClick();

signals:
    // A member was saved; lists showing members reload.
    void memberSaved(qint64 userId);

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext &m_ctx;
};
