#include "products/TFrmGoodsQuery.h"

#include "widgets/DataGridWidget.h"
#include "widgets/FormWidget.h"
#include "products/HostDatabase.h"
#include "products/ProductQueries.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace
{
const QString AllCategories = QStringLiteral("全部分类");
const QString AllBrands = QStringLiteral("全部品牌");
} // namespace

TFrmGoodsQuery::TFrmGoodsQuery(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("FrmGoodsQuery"));
    setWindowTitle(QStringLiteral("产品搜索"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);

    auto *nameLabel = new QLabel(QStringLiteral("产品名："), this);
    edt_ProCard = new QLineEdit(this);
    edt_ProCard->setObjectName(QStringLiteral("edt_ProCard"));
    cb_ProSort = new QComboBox(this);
    cb_ProSort->setObjectName(QStringLiteral("cb_ProSort"));
    cb_ProBrand = new QComboBox(this);
    cb_ProBrand->setObjectName(QStringLiteral("cb_ProBrand"));
    cb_ProSort->setMinimumWidth(130);
    cb_ProBrand->setMinimumWidth(130);

    auto *top = new QHBoxLayout;
    top->addWidget(nameLabel);
    top->addWidget(edt_ProCard, 1);
    top->addSpacing(12);
    top->addWidget(new QLabel(QStringLiteral("分类："), this));
    top->addWidget(cb_ProSort);
    top->addSpacing(12);
    top->addWidget(new QLabel(QStringLiteral("品牌："), this));
    top->addWidget(cb_ProBrand);

    DBGrid1 = new DataGridWidget(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    // The selected row on money green.
    DBGrid1->setStyleSheet(QStringLiteral(
        "QTableView { selection-background-color: rgb(192, 220, 192); selection-color: black; }"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(new QLabel(QStringLiteral("双击一行选中该产品。"), this));
    setFixedSize(760, 480);

    connect(edt_ProCard, &QLineEdit::textChanged, this, &TFrmGoodsQuery::cb_ProSortChange);
    connect(cb_ProSort, &QComboBox::currentIndexChanged, this, &TFrmGoodsQuery::cb_ProSortChange);
    connect(cb_ProBrand, &QComboBox::currentIndexChanged, this, &TFrmGoodsQuery::cb_ProSortChange);
    connect(DBGrid1, &DataGridWidget::rowActivated, this, &TFrmGoodsQuery::DBGrid1DblClick);
}

TFrmGoodsQuery::~TFrmGoodsQuery() = default;

std::optional<QString> TFrmGoodsQuery::PickCode()
{
    m_picked.reset();
    if (FormShow())
        exec();
    FormClose();
    return m_picked;
}

Database *TFrmGoodsQuery::searchDatabase()
{
    if (m_mode == QLatin1String("3"))
        return m_host && m_host->isOpen() ? &m_host->db() : nullptr;
    return &m_ctx.db;
}

bool TFrmGoodsQuery::FormShow()
{
    m_picked.reset();
    m_mode = m_ctx.session.settings.SaoMaYes.trimmed();

    if (m_mode == QLatin1String("3")) {
        const QString path = m_ctx.session.settings.HostDbPath.trimmed();
        if (!m_host)
            m_host = std::make_unique<HostDatabase>();
        if (!m_host->isOpen() || m_host->path() != path) {
            try {
                m_host->open(path);
            } catch (const DbError &e) {
                m_ctx.prompter.information(e.text());
                return false;
            }
        }
    }

    const QSignalBlocker blockName(edt_ProCard);
    const QSignalBlocker blockSort(cb_ProSort);
    const QSignalBlocker blockBrand(cb_ProBrand);
    edt_ProCard->clear();
    Guarded(m_ctx.prompter, [&] {
        FillComboBox(cb_ProSort, m_ctx.db,
                     {QStringLiteral("Select ProSortName From SL_ProSort Order By ProSortID"), {}});
        cb_ProSort->insertItem(0, AllCategories);
        cb_ProSort->setCurrentIndex(0);
    });
    Guarded(m_ctx.prompter, [&] {
        if (m_mode == QLatin1String("3"))
            FillComboBox(cb_ProBrand, m_host->db(),
                         {QStringLiteral("Select Name From PType_CateGory"), {}});
        else
            FillComboBox(cb_ProBrand, m_ctx.db,
                         {QStringLiteral("Select BrandName From SL_Brand Order By BrandID"), {}});
        cb_ProBrand->insertItem(0, AllBrands);
        cb_ProBrand->setCurrentIndex(0);
    });
    if (cb_ProSort->count() == 0)
        cb_ProSort->addItem(AllCategories);
    if (cb_ProBrand->count() == 0)
        cb_ProBrand->addItem(AllBrands);

    // ShowAllGoods: the unfiltered list of the mode; other modes list nothing.
    const QuerySource all = GoodsQuerySource(m_mode);
    Database *db = searchDatabase();
    if (all.isEmpty() || !db)
        DBGrid1->clearRows();
    else
        Guarded(m_ctx.prompter, [&] { DBGrid1->setSource(*db, all); });
    SetSearchColumns();
    edt_ProCard->setFocus();
    return true;
}

void TFrmGoodsQuery::cb_ProSortChange()
{
    GoodsFilter filter;
    filter.name = edt_ProCard->text().trimmed();
    if (cb_ProSort->currentIndex() > 0)
        filter.category = cb_ProSort->currentText().trimmed();
    if (cb_ProBrand->currentIndex() > 0)
        filter.brand = cb_ProBrand->currentText().trimmed();
    const QuerySource source = GoodsQuerySource(m_mode, filter);
    Database *db = searchDatabase();
    if (source.isEmpty() || !db)
        return;
    Guarded(m_ctx.prompter, [&] { DBGrid1->setSource(*db, source); });
    SetSearchColumns();
}

void TFrmGoodsQuery::SetSearchColumns()
{
    const int columns = DBGrid1->titles().size();
    for (int i = 0; i < columns; ++i)
        DBGrid1->setColumnWidth(i, i == 0 ? (m_mode == QLatin1String("3") ? 60 : 30) : 80);
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

void TFrmGoodsQuery::DBGrid1DblClick()
{
    if (!DBGrid1->hasCurrentRow())
        return;
    if (m_mode == QLatin1String("1") || m_mode == QLatin1String("2") ||
        m_mode == QLatin1String("3")) {
        m_picked = DBGrid1->currentValue(GoodsCodeColumn(m_mode)).toString().trimmed();
        accept();
        return;
    }
    reject();
}

void TFrmGoodsQuery::FormClose()
{
    const QSignalBlocker blockName(edt_ProCard);
    const QSignalBlocker blockSort(cb_ProSort);
    const QSignalBlocker blockBrand(cb_ProBrand);
    edt_ProCard->clear();
    cb_ProSort->clear();
    cb_ProBrand->clear();
}
