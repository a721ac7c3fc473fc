#pragma once

#include "context/AppContext.h"

#include <QDialog>
#include <memory>
#include <optional>

class DataGridWidget;
class HostDatabase;
class QComboBox;
class QLineEdit;

// 产品搜索: the pick-list the scanning sale screens open from their "手工"
// button. Lists the goods of the sale mode (ctx.session.settings.SaoMaYes):
// "1" the shop's catalogue, "2" the inventory items, "3" the host system's
// items (second database, settings HostDbPath). A double-click on a row hands
// its code back: 编码 in mode "1", 条码 in modes "2" and "3".
class TFrmGoodsQuery : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmGoodsQuery(AppContext &ctx, QWidget *parent = nullptr);
    ~TFrmGoodsQuery() override;

    // Modal search in the catalogue of the current sale mode
    // (ctx.session.settings.SaoMaYes): the picked product code, or nothing
    // when closed without a pick.
    std::optional<QString> PickCode();

    QLineEdit *edt_ProCard;  // name filter
    QComboBox *cb_ProSort;   // category filter
    QComboBox *cb_ProBrand;  // brand filter
    DataGridWidget *DBGrid1; // the goods found

    // Handlers.
    bool FormShow();
    void cb_ProSortChange();
    void DBGrid1DblClick();
    void FormClose();

    // The mode read when the dialog was last shown.
    QString mode() const { return m_mode; }

private:
    void SetSearchColumns();
    Database *searchDatabase();

    AppContext &m_ctx;
    QString m_mode;
    std::optional<QString> m_picked;
    std::unique_ptr<HostDatabase> m_host;
};
