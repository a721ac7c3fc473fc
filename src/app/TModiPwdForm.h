#pragma once

#include "context/AppContext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "修改密码": the logged-in operator changes the name and password of the own
// operator row. After a change the program ends so that the operator logs in
// again; the dialog then emits passwordChanged() and closes.
class TModiPwdForm : public QDialog
{
    Q_OBJECT
public:
    explicit TModiPwdForm(AppContext &ctx, QWidget *parent = nullptr);

    QLabel *Image1;
    QLineEdit *Edit1; // operator name
    QLineEdit *Edit2; // new password
    QLineEdit *Edit3; // the password repeated
    QPushButton *BtnOk;
    QPushButton *BtnCancel;

    void BtnOkClick();
    void BtnCancelClick();

signals:
    // The row was changed: the program must end.
    void passwordChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext &m_ctx;
};
