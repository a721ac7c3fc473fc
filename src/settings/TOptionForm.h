#pragma once

#include "context/AppContext.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class TOptionListPage;

// "设置": the shop's settings row and, on the same tabbed window, the operator
// list and the lookup lists (shop assistants, shops, brands, categories,
// discounts). Administrators only; shown modally from the main window and
// kept for the run: each showing reloads every page, and the page last used
// stays in front.
class TOptionForm : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionForm(AppContext &ctx, QWidget *parent = nullptr);
    ~TOptionForm() override;

    QTabWidget *PageControl1;

    // 基本设置
    QLineEdit *Edit1; // 兑分设置: lowest points balance for a redemption
    QLineEdit *Edit2; // 积分设置: points per 100 yuan
    QRadioButton *RadioButton1, *RadioButton2; // points editable on the sale screens / not
    QRadioButton *RadioButton3, *RadioButton4; // price after discount editable / not
    QLineEdit *edtFloatNum;                    // decimals of the sale screens' rounding
    QCheckBox *CheckBox2;                      // scanning (sale mode other than "0")
    QGroupBox *GroupBox6;                      // 功能选项: which scanning mode
    QRadioButton *rbSingle, *rbTwoFunc, *rbOtherFunc;
    QLineEdit *edtHostDbPath;   // the host system's database file (mode "3")
    QPushButton *btnHostDbPath; // 浏览 for it
    QCheckBox *chk_EnabledCardPwd;
    QPushButton *BitBtn1; // saves the basic settings

    // 打印设置
    QCheckBox *CheckBox1; // print automatically after checkout
    QLabel *Label13;      // caption of the copies box
    QLineEdit *edt_PrintCount;
    QRadioButton *RadioButton5, *RadioButton6; // 58 mm / 80 mm
    QLineEdit *biaoti;
    QLineEdit *piaowei1, *piaowei2, *piaowei3, *piaowei4, *piaowei5;
    QPushButton *BitBtn2; // saves the print settings

    // The six list pages, in page order: operators, shop assistants, shops,
    // brands, categories, discounts. Each grid has its navigator bar
    // (DBNavigator1..6) with the buttons nbFirst, nbPrior, nbNext, nbLast,
    // nbInsert, nbEdit, nbPost, nbCancel and nbRefresh.
    QTableView *DBGrid1, *DBGrid2, *DBGrid3, *DBGrid4, *DBGrid5, *DBGrid6;

    void FormShow();
    void BasicPageShow();
    void BitBtn1Click();
    void BitBtn2Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void btnHostDbPathClick();
    // Saves what is typed into the list grids and not yet saved; false when
    // a list could not be saved (the error was shown).
    bool PostLists();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *buildBasicPage();
    QWidget *buildPrintPage();
    void showMode(const QString &mode, bool unknownChangesNothing);

    AppContext &m_ctx;
    QList<TOptionListPage *> m_lists;
};
