#pragma once

#include "context/AppContext.h"

#include <QDialog>

class DataGridWidget;
class NavigatorBar;
class QCheckBox;
class QPushButton;
class TModiMemberInfo;

// 会员: every member card in a list, newest first or by amount spent; opens
// a member for editing, exports the list, and lets administrators delete.
class TMemberForm : public QDialog
{
    Q_OBJECT
public:
    // `editor` is the shared edit dialog; without one the list makes its own.
    explicit TMemberForm(AppContext &ctx, QWidget *parent = nullptr,
                         TModiMemberInfo *editor = nullptr);

    DataGridWidget *DBGrid1;
    // The navigator's moves: nbFirst, nbPrior, nbNext, nbLast.
    NavigatorBar *DBNavigator1;
    QPushButton *BtnModify, *BtnDelete, *btnExcel, *BtnClose;
    QCheckBox *CheckBox1; // 按消费金额排序

    TModiMemberInfo *editor() const { return m_editor; }

    void FormShow();
    void LoadMemberGrid();
    void BtnModifyClick();
    void BtnDeleteClick();
    void btnExcelClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext &m_ctx;
    TModiMemberInfo *m_editor;
};
