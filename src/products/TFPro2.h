#pragma once

#include "context/AppContext.h"
#include "data/QuerySource.h"
#include "products/ProductCatalog.h"

#include <QDialog>
#include <optional>

class DataGridWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// 产品管理: lists, finds, adds and changes the products of the shop's own
// catalogue (Pro2). Products are never deleted here; a product no longer
// sold is marked 不销售. A fresh window is made for every opening.
class TFPro2 : public QDialog
{
    Q_OBJECT
public:
    explicit TFPro2(AppContext &ctx, QWidget *parent = nullptr);

    // Search area.
    QLineEdit *Edit1;     // keyword
    QComboBox *ComboBox6; // field searched: 编码 / 产品名 / 拼音首字母
    QComboBox *ComboBox1; // category filter, first entry 全部分类
    QComboBox *ComboBox2; // brand filter, first entry 全部品牌
    QCheckBox *CheckBox1; // 包括暂不销售产品
    QPushButton *BtnFind, *BtnAll, *BtnSpecialPrice, *btnExcel, *BtnClose;
    DataGridWidget *DBGrid1;
    QLabel *LSql; // hidden: the text of the last list statement run

    // Fields of the product (group 操作).
    QComboBox *ComboBox3, *ComboBox4, *ComboBox5; // category, brand, unit
    QLineEdit *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9;
    QCheckBox *CheckBox2; // 是否特价
    QCheckBox *CheckBox3; // 是否销售
    QPushButton *BtnAppend, *BitBtn7, *BitBtn8, *BtnModify, *BtnCancelModify, *BtnPost;
    QPushButton *BtnDelete; // part of the window, never shown: products are not deleted

    // Handlers.
    void FormShow();
    void ShowGrid(const QuerySource &condition);
    void ShowGridAgain(); // the list last shown, run again ("Shuaxin")
    void AllStart();
    void AllEnabledTrue(bool enabled);
    void BtnAppendClick();
    void BitBtn7Click();
    void BitBtn8Click();
    void BtnModifyClick();
    void BtnCancelModifyClick();
    void BtnPostClick();
    void DBGrid1CellClick(int row);
    void BtnFindClick();
    void BtnAllClick();
    void Tejia();
    void BtnCloseClick();
    void btnExcelClick();

    // The product 修改 loaded, which 确定修改 changes; nothing outside modifying.
    std::optional<qint64> modifyingId() const { return m_modifyId; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ProductFields readFields() const;
    void showFields(const ProductFields &fields);

    AppContext &m_ctx;
    QuerySource m_lastList;
    std::optional<qint64> m_modifyId;
    bool m_shown = false;
};
