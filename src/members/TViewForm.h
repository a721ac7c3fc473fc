#pragma once

#include "context/AppContext.h"
#include "members/MemberRules.h"

#include <QDialog>

class DataGridWidget;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TFrmExcelOption;
class TModiMemberInfo;

// 查询: a member's data, the members found, the member's sales and the lines
// of one sale. Shown modeless from the main window and from the sale screens.
class TViewForm : public QDialog
{
    Q_OBJECT
public:
    // `editor` is the shared edit dialog; without one the window makes its own.
    explicit TViewForm(AppContext &ctx, QWidget *parent = nullptr,
                       TModiMemberInfo *editor = nullptr);

    // Shows the window (when hidden) and runs the card search for `card`:
    // what the sale screens' 消费历史 does for the member on their screen.
    void ShowForCard(const QString &card);

    QLineEdit *Edit1; // card number to search
    QPushButton *BitBtn3;
    QLineEdit *Edit2; // part of a name to search
    QPushButton *BitBtn4;
    QLabel *LUserCard, *LUserName, *LUserSex, *LUserNum, *LUserMoneyAll, *LUserBrithday;
    QLabel *LUserWork; // the stored value (User_ChuZhi)
    QLabel *LUserWenhua, *LUserLikeColor, *LUserSize, *LUserYaowei, *LUserInputDate, *LUserTel,
        *LUserMobi, *LUserAddress;
    QPlainTextEdit *LUserOther;
    QLabel *lblUserDate, *lblCardLocked;
    QLabel *lblLikeColorCaption, *lblSizeCaption, *lblYaoweiCaption; // free-field captions
    DataGridWidget *DBGrid3;                                         // members found
    DataGridWidget *DBGrid1;                                         // the member's sales
    DataGridWidget *DBGrid2;                                         // the lines of one sale
    QPushButton *btnModify, *btnExcel, *btnClose;
    QCheckBox *chk_ExcelAll;

    void FormShow();
    void BitBtn3Click();
    void BitBtn4Click();
    void DBGrid3CellClick();
    void DBGrid1CellClick();
    void btnModifyClick();
    void btnExcelClick();

    TModiMemberInfo *editor() const { return m_editor; }
    // The window of the two exports; made when first asked for.
    TFrmExcelOption *excelOption() const { return m_excelOption; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ClearMemberInfo();
    // Fills the 基本信息 labels with the newest member found; its User_ID, or 0.
    qint64 ShowMemberInfo(MemberKey key, const QString &value);
    // Labels, matches and sales of the member shown, read again.
    void RefreshShownMember();
    void LoadMemberMatches(MatchKind kind, const QString &value);
    // The member's sales, newest first; the newest sale's id, or 0.
    qint64 LoadSales(qint64 userId);
    void LoadSaleLines(qint64 saleId);
    void resetExcelOption();
    void refuseSearch(const QString &message);
    // The option window exports what the grids show now.
    void updateExcelSources();

    AppContext &m_ctx;
    TModiMemberInfo *m_editor;
    TFrmExcelOption *m_excelOption = nullptr;
    qint64 m_shownUserId = 0;
};
