#include "products/TFPro2.h"

#include "widgets/DataGridWidget.h"
#include "export/ExcelExport.h"
#include "widgets/FormWidget.h"
#include "data/TextRules.h"
#include "products/ProductQueries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

const QString AllCategories = QStringLiteral("全部分类");
const QString AllBrands = QStringLiteral("全部品牌");

const QString CategoryList =
    QStringLiteral("Select trim(ProSortName) from SL_ProSort where "
                   "ProSortShow='1' order by ProSortOrder DESC, ProSortID");
const QString BrandList = QStringLiteral("Select trim(BrandName) from SL_Brand where "
                                         "BrandShow='1' order by BrandOrder DESC, BrandID");
const QString UnitList = QStringLiteral("Select trim(DanweiName) from SL_Danwei where "
                                        "DanweiShow='1' order by DanweiOrder DESC, DanweiID");

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QPushButton(caption, parent), name);
}

} // namespace

TFPro2::TFPro2(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("FPro2"));
    setWindowTitle(QStringLiteral("产品管理"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);

    // Search area.
    Edit1 = named(new QLineEdit(this), "Edit1");
    ComboBox6 = named(new QComboBox(this), "ComboBox6");
    ComboBox6->addItems(
        {QStringLiteral("编码"), QStringLiteral("产品名"), QStringLiteral("拼音首字母")});
    ComboBox6->setCurrentIndex(1);
    ComboBox1 = named(new QComboBox(this), "ComboBox1");
    ComboBox2 = named(new QComboBox(this), "ComboBox2");
    ComboBox1->addItem(AllCategories);
    ComboBox2->addItem(AllBrands);
    ComboBox1->setMinimumWidth(110);
    ComboBox2->setMinimumWidth(110);
    CheckBox1 = named(new QCheckBox(QStringLiteral("包括暂不销售产品"), this), "CheckBox1");
    BtnFind = button(this, "BtnFind", QStringLiteral("查找"));
    BtnAll = button(this, "BtnAll", QStringLiteral("全部"));
    BtnSpecialPrice = button(this, "BtnSpecialPrice", QStringLiteral("特价"));
    btnExcel = button(this, "btnExcel", QStringLiteral("导出Excel"));
    BtnClose = button(this, "BtnClose", QStringLiteral("关闭"));
    BtnFind->setDefault(true);

    auto *search = new QGroupBox(QStringLiteral(" 查询 "), this);
    auto *searchRow1 = new QHBoxLayout;
    searchRow1->addWidget(new QLabel(QStringLiteral("关键字："), search));
    searchRow1->addWidget(Edit1, 1);
    searchRow1->addWidget(new QLabel(QStringLiteral("查找字段："), search));
    searchRow1->addWidget(ComboBox6);
    searchRow1->addWidget(new QLabel(QStringLiteral("分类："), search));
    searchRow1->addWidget(ComboBox1);
    searchRow1->addWidget(new QLabel(QStringLiteral("品牌："), search));
    searchRow1->addWidget(ComboBox2);
    auto *searchRow2 = new QHBoxLayout;
    searchRow2->addWidget(CheckBox1);
    searchRow2->addStretch(1);
    for (QPushButton *b : {BtnFind, BtnAll, BtnSpecialPrice, btnExcel, BtnClose})
        searchRow2->addWidget(b);
    auto *searchLayout = new QVBoxLayout(search);
    searchLayout->addLayout(searchRow1);
    searchLayout->addLayout(searchRow2);

    // The list.
    auto *listBox = new QGroupBox(QStringLiteral(" 产品信息 "), this);
    DBGrid1 = named(new DataGridWidget(listBox), "DBGrid1");
    LSql = named(new QLabel(QStringLiteral("这儿放查询的sql"), listBox), "LSql");
    LSql->setVisible(false);
    auto *listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(DBGrid1);

    // The product's fields.
    auto *edit = new QGroupBox(QStringLiteral(" 操作 "), this);
    ComboBox3 = named(new QComboBox(edit), "ComboBox3");
    ComboBox4 = named(new QComboBox(edit), "ComboBox4");
    ComboBox5 = named(new QComboBox(edit), "ComboBox5");
    Edit2 = named(new QLineEdit(edit), "Edit2");
    Edit2->setMaxLength(50);
    Edit3 = named(new QLineEdit(edit), "Edit3");
    Edit4 = named(new QLineEdit(edit), "Edit4");
    Edit5 = named(new QLineEdit(edit), "Edit5");
    Edit6 = named(new QLineEdit(edit), "Edit6");
    Edit7 = named(new QLineEdit(edit), "Edit7");
    Edit8 = named(new QLineEdit(edit), "Edit8");
    Edit9 = named(new QLineEdit(edit), "Edit9");
    CheckBox2 = named(new QCheckBox(edit), "CheckBox2");
    CheckBox3 = named(new QCheckBox(edit), "CheckBox3");
    for (QLineEdit *price : {Edit5, Edit6, Edit7})
        price->installEventFilter(this);

    auto *grid = new QGridLayout;
    const auto field = [&](int row, int col, const QString &caption, QWidget *w) {
        auto *label = new QLabel(caption, edit);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(w);
        grid->addWidget(label, row, col * 2);
        grid->addWidget(w, row, col * 2 + 1);
    };
    field(0, 0, QStringLiteral("产品分类："), ComboBox3);
    field(0, 1, QStringLiteral("产品品牌："), ComboBox4);
    field(0, 2, QStringLiteral("产品单位："), ComboBox5);
    field(1, 0, QStringLiteral("编码："), Edit2);
    field(1, 1, QStringLiteral("产品名："), Edit3);
    field(1, 2, QStringLiteral("拼音首字母："), Edit4);
    field(2, 0, QStringLiteral("进货价："), Edit5);
    field(2, 1, QStringLiteral("零售价："), Edit6);
    field(2, 2, QStringLiteral("批发价："), Edit7);
    field(3, 0, QStringLiteral("产地："), Edit8);
    field(3, 1, QStringLiteral("是否特价："), CheckBox2);
    field(3, 2, QStringLiteral("是否销售："), CheckBox3);
    field(4, 0, QStringLiteral("备注："), Edit9);
    grid->removeWidget(Edit9);
    grid->addWidget(Edit9, 4, 1, 1, 5);
    for (int c : {1, 3, 5})
        grid->setColumnStretch(c, 1);

    BtnAppend = button(edit, "BtnAppend", QStringLiteral("  添  加  "));
    BitBtn7 = button(edit, "BitBtn7", QStringLiteral("  确定添加"));
    BitBtn8 = button(edit, "BitBtn8", QStringLiteral("  取消添加"));
    BtnModify = button(edit, "BtnModify", QStringLiteral("  修  改   "));
    BtnCancelModify = button(edit, "BtnCancelModify", QStringLiteral("  取消修改"));
    BtnPost = button(edit, "BtnPost", QStringLiteral("  确定修改"));
    BtnDelete = button(edit, "BtnDelete", QStringLiteral("  删  除  "));
    BtnDelete->setVisible(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b :
         {BtnAppend, BitBtn7, BitBtn8, BtnModify, BtnCancelModify, BtnPost, BtnDelete}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(96);
        buttons->addWidget(b);
    }
    auto *editLayout = new QVBoxLayout(edit);
    editLayout->addLayout(grid);
    editLayout->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(search);
    layout->addWidget(listBox, 1);
    layout->addWidget(edit);
    setFixedSize(880, 700);

    connect(BtnFind, &QPushButton::clicked, this, &TFPro2::BtnFindClick);
    connect(BtnAll, &QPushButton::clicked, this, &TFPro2::BtnAllClick);
    connect(BtnSpecialPrice, &QPushButton::clicked, this, &TFPro2::Tejia);
    connect(btnExcel, &QPushButton::clicked, this, &TFPro2::btnExcelClick);
    connect(BtnClose, &QPushButton::clicked, this, &TFPro2::BtnCloseClick);
    connect(BtnAppend, &QPushButton::clicked, this, &TFPro2::BtnAppendClick);
    connect(BitBtn7, &QPushButton::clicked, this, &TFPro2::BitBtn7Click);
    connect(BitBtn8, &QPushButton::clicked, this, &TFPro2::BitBtn8Click);
    connect(BtnModify, &QPushButton::clicked, this, &TFPro2::BtnModifyClick);
    connect(BtnCancelModify, &QPushButton::clicked, this, &TFPro2::BtnCancelModifyClick);
    connect(BtnPost, &QPushButton::clicked, this, &TFPro2::BtnPostClick);
    connect(DBGrid1, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { DBGrid1CellClick(index.row()); });

    // Design state: browsing, fields disabled.
    AllEnabledTrue(false);
    CheckBox3->setChecked(true);
}

void TFPro2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

bool TFPro2::eventFilter(QObject *watched, QEvent *event)
{
    // Price fields take digits and one decimal point; other typed characters are dropped.
    if (event->type() == QEvent::KeyPress) {
        auto *edit = qobject_cast<QLineEdit *>(watched);
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (edit && typed.size() == 1 && typed[0].isPrint()) {
            const QChar c = typed[0];
            const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
            const bool point =
                c == QLatin1Char('.') && !edit->text().trimmed().contains(QLatin1Char('.'));
            if (!digit && !point)
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFPro2::FormShow()
{
    m_shown = true;
    Guarded(m_ctx.prompter, [&] {
        FillComboBox(ComboBox1, m_ctx.db, {CategoryList, {}});
        ComboBox1->insertItem(0, AllCategories);
        ComboBox1->setCurrentIndex(0);
        FillComboBox(ComboBox2, m_ctx.db, {BrandList, {}});
        ComboBox2->insertItem(0, AllBrands);
        ComboBox2->setCurrentIndex(0);
        FillComboBox(ComboBox3, m_ctx.db, {CategoryList, {}});
        FillComboBox(ComboBox4, m_ctx.db, {BrandList, {}});
        FillComboBox(ComboBox5, m_ctx.db, {UnitList, {}});
    });
    if (ComboBox1->count() == 0)
        ComboBox1->addItem(AllCategories);
    if (ComboBox2->count() == 0)
        ComboBox2->addItem(AllBrands);
    ShowGrid(Pro2ShownCondition(CheckBox1->isChecked()));
}

void TFPro2::ShowGrid(const QuerySource &condition)
{
    const QuerySource list = Pro2ListSource(condition);
    if (Guarded(m_ctx.prompter, [&] { DBGrid1->setSource(m_ctx.db, list); })) {
        m_lastList = list;
        LSql->setText(list.sql);
    }
    DBGrid1->setColumnWidths({60, 90, 230, 60, 80, 38, 70, 70, 50, 50});
}

void TFPro2::ShowGridAgain()
{
    if (m_lastList.isEmpty()) {
        ShowGrid(Pro2ShownCondition(CheckBox1->isChecked()));
        return;
    }
    const QuerySource list = m_lastList;
    Guarded(m_ctx.prompter, [&] { DBGrid1->setSource(m_ctx.db, list); });
    DBGrid1->setColumnWidths({60, 90, 230, 60, 80, 38, 70, 70, 50, 50});
}

void TFPro2::AllStart()
{
    for (QComboBox *box : {ComboBox3, ComboBox4, ComboBox5})
        box->setCurrentIndex(box->count() > 0 ? 0 : -1);
    for (QLineEdit *e : {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9})
        e->clear();
    CheckBox2->setChecked(false);
    CheckBox3->setChecked(true);
}

void TFPro2::AllEnabledTrue(bool enabled)
{
    for (QWidget *w :
         std::initializer_list<QWidget *>{ComboBox3, ComboBox4, ComboBox5, Edit2, Edit3, Edit4,
                                          Edit5, Edit6, Edit7, Edit8, Edit9, CheckBox2, CheckBox3})
        w->setEnabled(enabled);
    BtnAppend->setVisible(!enabled);
    BtnModify->setVisible(!enabled);
    for (QPushButton *b : {BitBtn7, BitBtn8, BtnCancelModify, BtnPost})
        b->setVisible(false);
    if (!enabled)
        m_modifyId.reset();
}

void TFPro2::BtnAppendClick()
{
    AllEnabledTrue(true);
    AllStart();
    BitBtn7->setVisible(true);
    BitBtn8->setVisible(true);
    Edit2->setFocus();
}

ProductFields TFPro2::readFields() const
{
    ProductFields f;
    f.sortName = ComboBox3->currentText();
    f.brandName = ComboBox4->currentText();
    f.danweiName = ComboBox5->currentText();
    f.card = Edit2->text();
    f.name = Edit3->text();
    f.pinYing = Edit4->text();
    f.jinJia = Edit5->text();
    f.shouJia = Edit6->text();
    f.pifaJia = Edit7->text();
    f.chandi = Edit8->text();
    f.other = Edit9->text();
    f.tejia = CheckBox2->isChecked();
    f.show = CheckBox3->isChecked();
    return f;
}

void TFPro2::showFields(const ProductFields &f)
{
    ComboBox3->setCurrentIndex(ComboBox3->findText(f.sortName));
    ComboBox4->setCurrentIndex(ComboBox4->findText(f.brandName));
    ComboBox5->setCurrentIndex(ComboBox5->findText(f.danweiName));
    Edit2->setText(f.card);
    Edit3->setText(f.name);
    Edit4->setText(f.pinYing);
    Edit5->setText(f.jinJia);
    Edit6->setText(f.shouJia);
    Edit7->setText(f.pifaJia);
    Edit8->setText(f.chandi);
    Edit9->setText(f.other);
    CheckBox2->setChecked(f.tejia);
    CheckBox3->setChecked(f.show);
}

void TFPro2::BitBtn7Click()
{
    Check refusal;
    ProductCatalog catalog(m_ctx.db);
    if (!Guarded(m_ctx.prompter, [&] { refusal = catalog.add(readFields()); }))
        return;
    if (refusal) {
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    m_ctx.prompter.information(
        QStringLiteral("添加成功！暂不销售的产品，只有选中上面的选择框才能显示。"));
    AllStart();
    ShowGrid(Pro2ShownCondition(CheckBox1->isChecked()));
    Edit2->setFocus();
}

void TFPro2::BitBtn8Click()
{
    AllEnabledTrue(false);
}

void TFPro2::BtnCancelModifyClick()
{
    AllEnabledTrue(false);
}

void TFPro2::BtnModifyClick()
{
    if (!DBGrid1->hasCurrentRow())
        return;
    const qint64 id = DBGrid1->currentValue(QStringLiteral("序号")).toLongLong();
    std::optional<ProductFields> product;
    ProductCatalog catalog(m_ctx.db);
    if (!Guarded(m_ctx.prompter, [&] { product = catalog.load(id); }) || !product)
        return;
    showFields(*product);
    AllEnabledTrue(true);
    m_modifyId = id;
    BtnCancelModify->setVisible(true);
    BtnPost->setVisible(true);
    Edit2->setFocus();
}

void TFPro2::BtnPostClick()
{
    if (!m_modifyId)
        return;
    Check refusal;
    ProductCatalog catalog(m_ctx.db);
    if (!Guarded(m_ctx.prompter, [&] { refusal = catalog.modify(*m_modifyId, readFields()); }))
        return;
    if (refusal) {
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    m_ctx.prompter.information(QStringLiteral("修改成功！"));
    ShowGridAgain();
    AllEnabledTrue(false);
}

void TFPro2::DBGrid1CellClick(int row)
{
    const QVariant id = DBGrid1->value(row, QStringLiteral("序号"));
    if (!id.isValid())
        return;
    std::optional<ProductFields> product;
    ProductCatalog catalog(m_ctx.db);
    if (!Guarded(m_ctx.prompter, [&] { product = catalog.load(id.toLongLong()); }) || !product)
        return;
    showFields(*product);
    AllEnabledTrue(false);
}

void TFPro2::BtnFindClick()
{
    Pro2Search search;
    search.keyword = CleanText(Edit1->text());
    search.field = ComboBox6->currentText();
    if (ComboBox1->currentIndex() > 0)
        search.category = ComboBox1->currentText();
    if (ComboBox2->currentIndex() > 0)
        search.brand = ComboBox2->currentText();
    search.includeNotOnSale = CheckBox1->isChecked();
    ShowGrid(Pro2SearchCondition(search));
    AllEnabledTrue(false);
}

void TFPro2::BtnAllClick()
{
    ShowGrid(Pro2ShownCondition(CheckBox1->isChecked()));
    AllEnabledTrue(false);
}

void TFPro2::Tejia()
{
    ShowGrid(Pro2SpecialCondition());
    AllEnabledTrue(false);
}

void TFPro2::BtnCloseClick()
{
    reject();
}

void TFPro2::btnExcelClick()
{
    ExportDataSetToExcel(m_ctx, DBGrid1->source());
}
