#pragma once

#include "app/MainRules.h"
#include "context/AppContext.h"
#include "export/ExportFeedbackWidget.h"

#include <QMainWindow>
#include <memory>

class QAction;
class TFrmBackupDatabase;
class TOptionForm;
class TCreateCard;
class TMemberForm;
class TModiMemberInfo;
class TViewForm;
class TSaleForm;
class TSale3Form;
class TFrmSaleReturn;
class TAddMoney_Frm;
class TCashForm;
class QLabel;
class QToolButton;

// The window the operator works from: tool bar, menu and status bar. Each
// command opens another window; the only rules here are the sale screen by
// sale mode, the catalogue only in mode "1" and the settings for
// administrators.
class TMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMain(AppContext &ctx, QWidget *parent = nullptr);
    ~TMain() override;

    // Tool bar buttons, in their order on the bar.
    QToolButton *BtnCreateMemCard, *BtnConsume, *btnSaleReturn, *BtnQuery, *BitBtn1, *BtnAdd,
        *BtnDuiFen, *BtnProducts, *BtnStatistics, *BtnSetting, *btnBackup, *BtnModiPwd, *BtnAbout,
        *BtnExit, *BtnLocked, *BtnPublish;
    QLabel *StatusPanel2; // second status panel: the greeting

    // Sizes and places the window and shows it (after a login).
    void ShowMain();

    // The commands, as the buttons and menu items run them.
    void BtnCreateMemCardClick();
    void BtnConsumeClick();
    void btnSaleReturnClick();
    void BtnQueryClick();
    void BitBtn1Click();
    void BtnAddClick(bool modal);
    void BtnDuiFenClick();
    void BtnProductsClick();
    void BtnStatisticsClick();
    void BtnSettingClick();
    void btnBackupClick();
    void BtnModiPwdClick();
    void BtnAboutClick();
    void BtnLockedClick();
    void CountCardCommand(const QString &item);
    void OpenWebPage(const QString &url);
    // A sale screen's 消费历史: the consumption query for that member's card.
    void ShowConsumptionHistory(const QString &card);

    // The windows that stay alive for the run and close before the points
    // redemption window opens.
    void CloseMemberForms();

signals:
    // The program must end (退出 or the main window closed).
    void quitRequested(int exitCode);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QToolButton *addButton(const QString &name, const QString &caption, const QColor &color);
    QAction *addMenuItem(QMenu *menu, const QString &name, const QString &caption);
    void buildToolBar();
    void buildMenu();
    void buildStatusBar();
    TModiMemberInfo *memberEditor();
    TViewForm *viewForm(Qt::WindowModality modality);
    // A command whose window is not part of this version yet.
    void notAvailable(const QString &caption);

    AppContext &m_ctx;
    bool m_quitting = false;
    // The settings dialog and the backup window, made on first use and kept for the run.
    TOptionForm *m_optionForm = nullptr;
    TFrmBackupDatabase *m_backupForm = nullptr;
    // Wait cursor and progress window of every spreadsheet export.
    std::unique_ptr<ExportFeedbackWidget> m_exportFeedback =
        std::make_unique<ExportFeedbackWidget>();
    // Member windows, made on first use and kept for the run.
    TCreateCard *m_createCard = nullptr;
    TMemberForm *m_memberForm = nullptr;
    TModiMemberInfo *m_modiMemberInfo = nullptr;
    TViewForm *m_viewForm = nullptr;
    // Member sale screens, made on first use and kept for the run.
    TSaleForm *m_saleForm = nullptr;
    TSale3Form *m_sale3Form = nullptr;
    // The return window, made on first use and kept for the run.
    TFrmSaleReturn *m_saleReturn = nullptr;
    // The recharge window, made on first use and kept for the run.
    TAddMoney_Frm *m_addMoneyForm = nullptr;
    // The points redemption window, made on first use and kept for the run.
    TCashForm *m_cashForm = nullptr;
};
