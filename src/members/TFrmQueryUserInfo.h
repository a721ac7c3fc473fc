#pragma once

#include "context/AppContext.h"
#include "data/QuerySource.h"

#include <QDialog>
#include <optional>

class DataGridWidget;
class QLineEdit;

// 会员信息检索: finds a member by part of the card number or of the name;
// a double-click picks the member and hands the card number back.
class TFrmQueryUserInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmQueryUserInfo(AppContext &ctx, QWidget *parent = nullptr);

    // Shows the dialog modally; the chosen member's card number (trimmed),
    // nothing when it is closed without a pick.
    std::optional<QString> PickMember();

    QLineEdit *edtUserCard, *edtUserName;
    DataGridWidget *DBGrid1;

    void FormShow();
    void edtUserCardChange();
    void edtUserNameChange();
    void DBGrid1DblClick();

signals:
    // A member was picked (also when the dialog is shown modeless).
    void memberPicked(const QString &card);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void list(const QuerySource &source);

    AppContext &m_ctx;
    std::optional<QString> m_picked;
};
