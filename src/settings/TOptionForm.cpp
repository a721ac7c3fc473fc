#include "settings/TOptionForm.h"

#include "settings/SettingsStore.h"
#include "widgets/DataGridWidget.h"
#include "widgets/FormWidget.h"
#include "widgets/NavigatorBarWidget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace
{

struct ListColumn {
    const char *field;
    const char *title;
    int width;
};

struct ListDefinition {
    const char *grid;
    const char *navigator;
    const char *table;
    const char *key;   // the id column: numbered by the database, not typed
    const char *order; // the grid's order
    QList<ListColumn> columns;
};

const QList<ListDefinition> &listDefinitions()
{
    static const QList<ListDefinition> lists = {
        {"DBGrid1",
         "DBNavigator1",
         "admin",
         "Admin_ID",
         "Admin_ID",
         {{"Admin_ID", "序号", 100},
          {"Admin_Name", "操作员", 120},
          {"Admin_Pwd", "密码", 120},
          {"Admin_Group", "权限", 80}}},
        {"DBGrid2",
         "DBNavigator2",
         "SL_DaoGou",
         "DaoGouID",
         "DaoGouID",
         {{"DaoGouID", "序号", 100}, {"DaoGouName", "姓名", 280}}},
        {"DBGrid3",
         "DBNavigator3",
         "SL_Store",
         "StoreID",
         "StoreID",
         {{"StoreID", "序号", 120}, {"StoreName", "店名", 280}}},
        {"DBGrid4",
         "DBNavigator4",
         "SL_Brand",
         "BrandID",
         "BrandID",
         {{"BrandID", "序号", 120}, {"BrandName", "品牌", 260}}},
        {"DBGrid5",
         "DBNavigator5",
         "SL_ProSort",
         "ProSortID",
         "ProSortID",
         {{"ProSortID", "序号", 120}, {"ProSortName", "分类", 280}}},
        {"DBGrid6",
         "DBNavigator6",
         "SL_Zhekou",
         "ZhekouID",
         "zhekouOrder, ZhekouID",
         {{"ZhekouID", "序号", 120},
          {"ZhekouValue", "折扣", 120},
          {"ZhekouSelected", "默认折扣", 120}}},
    };
    return lists;
}

// One table edited in place: its id column is read-only and the rows come
// in the list's fixed order.
class ListModel : public QSqlTableModel
{
public:
    ListModel(QObject *parent, const QSqlDatabase &db, const QString &key, const QString &order)
        : QSqlTableModel(parent, db), m_key(key), m_order(order)
    {
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = QSqlTableModel::flags(index);
        if (index.column() == fieldIndex(m_key))
            f &= ~Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        // A cleared cell holds the empty text: the list columns are NOT NULL.
        if (role == Qt::EditRole && value.typeId() == QMetaType::QString && value.isNull())
            return QSqlTableModel::setData(index, QStringLiteral(""), role);
        return QSqlTableModel::setData(index, value, role);
    }

protected:
    QString orderByClause() const override { return QStringLiteral("ORDER BY ") + m_order; }

private:
    QString m_key;
    QString m_order;
};

// Remembers the cell editor it made, so that the grid can commit or drop it.
class ListDelegate : public ValueTextDelegate
{
public:
    using ValueTextDelegate::ValueTextDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_editor = editor;
        return editor;
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        if (m_editor == editor)
            m_editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    mutable QPointer<QWidget> m_editor;
};

// A grid whose open cell editor can be committed or dropped from outside,
// as the navigator's buttons need.
class ListGrid : public QTableView
{
public:
    explicit ListGrid(QWidget *parent) : QTableView(parent), m_delegate(new ListDelegate(this))
    {
        setItemDelegate(m_delegate);
    }

    void finishEditing(bool keep)
    {
        QWidget *editor = m_delegate->m_editor;
        if (state() != QAbstractItemView::EditingState || !editor)
            return;
        if (keep)
            commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }

private:
    ListDelegate *m_delegate;
};

} // namespace

// One list page: the grid over its table and the navigator bar (first,
// prior, next, last, insert, edit, post, cancel, refresh; no delete). As with
// a data-aware grid, moving to another row saves the row left, and so do the
// navigator's moves, insert and refresh.
class TOptionListPage : public QWidget
{
public:
    TOptionListPage(AppContext &ctx, const ListDefinition &def, QWidget *parent)
        : QWidget(parent), m_ctx(ctx), m_def(def)
    {
        grid = new ListGrid(this);
        grid->setObjectName(QString::fromLatin1(def.grid));
        grid->setSelectionBehavior(QAbstractItemView::SelectItems);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
        grid->verticalHeader()->setDefaultSectionSize(22);
        grid->verticalHeader()->setFixedWidth(24);
        grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
        grid->horizontalHeader()->setHighlightSections(false);

        navigator = new NavigatorBar(NavigatorEditing, NavigatorBar::Look::Captions, this);
        navigator->setObjectName(QString::fromLatin1(def.navigator));
        // Every move saves the row being typed first; a row that cannot be
        // saved keeps the grid where it is.
        navigator->setBeforeMove([this] { return post(); });
        connect(navigator, &NavigatorBar::insertClicked, this, [this] { insertRow(); });
        connect(navigator, &NavigatorBar::editClicked, this, [this] { editRow(); });
        connect(navigator, &NavigatorBar::postClicked, this, [this] { post(); });
        connect(navigator, &NavigatorBar::cancelClicked, this, [this] { cancel(); });
        connect(navigator, &NavigatorBar::refreshClicked, this, [this] { refresh(); });

        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(8, 8, 8, 8);
        layout->setSpacing(6);
        layout->addWidget(navigator, 0, Qt::AlignLeft);
        layout->addWidget(grid, 1);
    }

    // Opens the table afresh; unsaved typing is dropped. Throws DbError.
    void load()
    {
        if (!m_model) {
            m_model = new ListModel(this, m_ctx.db.handle(), QString::fromLatin1(m_def.key),
                                    QString::fromLatin1(m_def.order));
            m_model->setEditStrategy(QSqlTableModel::OnManualSubmit);
            m_model->setTable(QString::fromLatin1(m_def.table));
            if (m_model->lastError().isValid())
                throw DbError(m_model->lastError());
            grid->setModel(m_model);
            navigator->setView(grid);
            connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                    [this](const QModelIndex &, const QModelIndex &previous) {
                        if (m_busy || !previous.isValid() || !m_model->isDirty(previous))
                            return;
                        // Save the row just left once the click that left it is over.
                        QTimer::singleShot(0, this, [this] { post(); });
                    });
            QHeaderView *header = grid->horizontalHeader();
            for (int c = 0; c < m_model->columnCount(); ++c)
                grid->setColumnHidden(c, true);
            for (int i = 0; i < m_def.columns.size(); ++i) {
                const ListColumn &column = m_def.columns[i];
                const int c = m_model->fieldIndex(QString::fromLatin1(column.field));
                if (c < 0)
                    continue;
                m_model->setHeaderData(c, Qt::Horizontal, QString::fromUtf8(column.title));
                grid->setColumnHidden(c, false);
                header->moveSection(header->visualIndex(c), i);
                grid->setColumnWidth(c, column.width);
            }
        }
        grid->finishEditing(false);
        m_insertRow = -1;
        m_busy = true;
        const bool ok = m_model->select();
        m_busy = false;
        if (!ok)
            throw DbError(m_model->lastError());
        if (m_model->rowCount() > 0)
            grid->setCurrentIndex(m_model->index(0, firstEditableColumn()));
        navigator->updateButtons();
    }

    // Saves the row being typed; false (the error shown) when it cannot be saved.
    bool post()
    {
        if (!m_model)
            return true;
        grid->finishEditing(true);
        if (!m_model->isDirty())
            return true;
        if (m_insertRow >= 0 && !insertTyped()) {
            // Nothing was typed into the new row: it is dropped, not saved empty.
            cancel();
            return true;
        }
        const QModelIndex at = grid->currentIndex();
        const bool inserting = m_insertRow >= 0;
        qint64 newId = 0;
        m_busy = true;
        const bool saved = Guarded(m_ctx.prompter, [&] {
            Transaction transaction(m_ctx.db);
            if (!m_model->submitAll())
                throw DbError(m_model->lastError());
            if (inserting)
                newId = m_ctx.db.scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
            transaction.commit();
        });
        m_busy = false;
        if (!saved)
            return false;
        m_insertRow = -1;
        int row = at.row();
        if (inserting)
            row = rowOfId(newId);
        restore(row, at.column());
        return true;
    }

    void cancel()
    {
        if (!m_model)
            return;
        const QModelIndex at = grid->currentIndex();
        grid->finishEditing(false);
        m_busy = true;
        m_model->revertAll();
        m_busy = false;
        m_insertRow = -1;
        restore(at.row(), at.column());
    }

    QSqlTableModel *model() const { return m_model; }

    ListGrid *grid;
    NavigatorBar *navigator;

private:
    int firstEditableColumn() const
    {
        for (const ListColumn &column : m_def.columns) {
            if (qstrcmp(column.field, m_def.key) != 0)
                return m_model->fieldIndex(QString::fromLatin1(column.field));
        }
        return 0;
    }

    void fetchAll()
    {
        while (m_model->canFetchMore())
            m_model->fetchMore();
    }

    // Whether anything was typed into the inserted row (an editor opened and
    // left empty does not count).
    bool insertTyped() const
    {
        const QSqlRecord rec = m_model->record(m_insertRow);
        for (int i = 0; i < rec.count(); ++i)
            if (rec.isGenerated(i) && !rec.value(i).toString().isEmpty())
                return true;
        return false;
    }

    int rowOfId(qint64 id)
    {
        fetchAll();
        const int key = m_model->fieldIndex(QString::fromLatin1(m_def.key));
        for (int r = 0; r < m_model->rowCount(); ++r)
            if (m_model->index(r, key).data().toLongLong() == id)
                return r;
        return m_model->rowCount() - 1;
    }

    void restore(int row, int column)
    {
        if (m_model->rowCount() == 0) {
            navigator->updateButtons();
            return;
        }
        if (column < 0 || grid->isColumnHidden(column))
            column = firstEditableColumn();
        row = std::clamp(row, 0, m_model->rowCount() - 1);
        m_busy = true;
        grid->setCurrentIndex(m_model->index(row, column));
        m_busy = false;
        grid->scrollTo(grid->currentIndex());
        navigator->updateButtons();
    }

    void insertRow()
    {
        if (!m_model || !post())
            return;
        fetchAll();
        const int row = m_model->rowCount();
        m_busy = true;
        m_model->insertRow(row);
        m_insertRow = row;
        const QModelIndex cell = m_model->index(row, firstEditableColumn());
        grid->setCurrentIndex(cell);
        m_busy = false;
        grid->scrollTo(cell);
        grid->setFocus();
        grid->edit(cell);
        navigator->updateButtons();
    }

    void editRow()
    {
        if (!m_model || m_model->rowCount() == 0)
            return;
        QModelIndex cell = grid->currentIndex();
        if (!cell.isValid())
            cell = m_model->index(0, firstEditableColumn());
        else if (!(m_model->flags(cell) & Qt::ItemIsEditable))
            cell = m_model->index(cell.row(), firstEditableColumn());
        m_busy = true;
        grid->setCurrentIndex(cell);
        m_busy = false;
        grid->setFocus();
        grid->edit(cell);
    }

    void refresh()
    {
        if (!m_model || !post())
            return;
        const QModelIndex at = grid->currentIndex();
        m_busy = true;
        const bool ok = m_model->select();
        m_busy = false;
        if (!ok) {
            m_ctx.prompter.error(DbError(m_model->lastError()).text());
            return;
        }
        restore(at.row(), at.column());
    }

    AppContext &m_ctx;
    const ListDefinition &m_def;
    ListModel *m_model = nullptr;
    int m_insertRow = -1;
    bool m_busy = false;
};

namespace
{

QRadioButton *radio(const char *name, const QString &caption, QWidget *parent)
{
    auto *r = new QRadioButton(caption, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

QLineEdit *lineEdit(const char *name, int maxLength, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLabel *note(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setStyleSheet(QStringLiteral("color: #666"));
    return l;
}

constexpr int BasicPage = 5;
constexpr int PrintPage = 7;

} // namespace

TOptionForm::TOptionForm(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TOptionForm"));
    setWindowTitle(QStringLiteral("设置"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    const QStringList listTitles = {QStringLiteral("操作员管理"), QStringLiteral("导购管理"),
                                    QStringLiteral("店名管理"),   QStringLiteral("品牌管理"),
                                    QStringLiteral("分类管理"),   QStringLiteral("折扣管理")};
    QList<QWidget *> listPages;
    for (int i = 0; i < listDefinitions().size(); ++i) {
        auto *page = new TOptionListPage(ctx, listDefinitions()[i], PageControl1);
        m_lists << page;
        listPages << page;
    }
    auto *operators = new QWidget(PageControl1);
    {
        auto *layout = new QVBoxLayout(operators);
        layout->setContentsMargins(0, 0, 0, 8);
        layout->addWidget(m_lists[0], 1);
        auto *hint = note(QStringLiteral("注：操作员权限，99为管理员，1为销售员"), operators);
        hint->setObjectName(QStringLiteral("Label20"));
        hint->setContentsMargins(8, 0, 8, 0);
        layout->addWidget(hint);
    }
    listPages[0] = operators;

    const QList<QPair<QWidget *, QString>> pages = {
        {listPages[0], listTitles[0]}, {listPages[1], listTitles[1]},
        {listPages[2], listTitles[2]}, {listPages[3], listTitles[3]},
        {listPages[4], listTitles[4]}, {buildBasicPage(), QStringLiteral("基本设置")},
        {listPages[5], listTitles[5]}, {buildPrintPage(), QStringLiteral("打印设置")},
    };
    for (int i = 0; i < pages.size(); ++i) {
        pages[i].first->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        PageControl1->addTab(pages[i].first, pages[i].second);
    }
    PageControl1->setCurrentIndex(PrintPage);

    DBGrid1 = m_lists[0]->grid;
    DBGrid2 = m_lists[1]->grid;
    DBGrid3 = m_lists[2]->grid;
    DBGrid4 = m_lists[3]->grid;
    DBGrid5 = m_lists[4]->grid;
    DBGrid6 = m_lists[5]->grid;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(PageControl1);
    resize(660, 520);

    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == BasicPage && isVisible())
            BasicPageShow();
    });
}

TOptionForm::~TOptionForm() = default;

QWidget *TOptionForm::buildBasicPage()
{
    auto *page = new QWidget(PageControl1);

    Edit1 = lineEdit("Edit1", 5, page);
    Edit1->setToolTip(QStringLiteral("最低积分，低于此积分不能兑分。"));
    Edit2 = lineEdit("Edit2", 5, page);
    edtFloatNum = lineEdit("edtFloatNum", 1, page);
    edtFloatNum->setText(QStringLiteral("2"));
    // Only the keys 0, 1 and 2 (and editing keys) reach the box.
    edtFloatNum->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-2]?")), edtFloatNum));
    for (QLineEdit *e : {Edit1, Edit2, edtFloatNum})
        e->setFixedWidth(90);

    auto *numbers = new QGridLayout;
    numbers->setHorizontalSpacing(8);
    numbers->addWidget(caption(QStringLiteral("兑分设置："), page), 0, 0);
    numbers->addWidget(Edit1, 0, 1);
    numbers->addWidget(note(QStringLiteral("最低积分，低于此积分不能兑分。"), page), 0, 2);
    numbers->addWidget(caption(QStringLiteral("积分设置："), page), 1, 0);
    numbers->addWidget(Edit2, 1, 1);
    numbers->addWidget(note(QStringLiteral("消费100元，积多少分。"), page), 1, 2);
    numbers->addWidget(caption(QStringLiteral("保留小数位："), page), 2, 0);
    numbers->addWidget(edtFloatNum, 2, 1);
    numbers->addWidget(note(QStringLiteral("折后价保留的小数位数（0、1或2）。"), page), 2, 2);
    numbers->setColumnStretch(2, 1);

    auto *pointsGroup = new QGroupBox(QStringLiteral("   积分修改   "), page);
    pointsGroup->setObjectName(QStringLiteral("GroupBox1"));
    RadioButton1 = radio("RadioButton1", QStringLiteral("可以修改"), pointsGroup);
    RadioButton2 = radio("RadioButton2", QStringLiteral("不可修改"), pointsGroup);
    auto *pointsLayout = new QHBoxLayout(pointsGroup);
    pointsLayout->addWidget(RadioButton1);
    pointsLayout->addWidget(RadioButton2);
    auto *amountGroup = new QGroupBox(QStringLiteral(" 销售金额修改 "), page);
    amountGroup->setObjectName(QStringLiteral("GroupBox2"));
    RadioButton3 = radio("RadioButton3", QStringLiteral("可以修改"), amountGroup);
    RadioButton4 = radio("RadioButton4", QStringLiteral("不可修改"), amountGroup);
    auto *amountLayout = new QHBoxLayout(amountGroup);
    amountLayout->addWidget(RadioButton3);
    amountLayout->addWidget(RadioButton4);
    auto *groups = new QHBoxLayout;
    groups->addWidget(pointsGroup);
    groups->addWidget(amountGroup);

    CheckBox2 = new QCheckBox(
        QStringLiteral("消费时，启用扫码功能。（需要先把所有产品信息录入到数据库）"), page);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    GroupBox6 = new QGroupBox(QStringLiteral("功能选项"), page);
    GroupBox6->setObjectName(QStringLiteral("GroupBox6"));
    rbSingle = radio("rbSingle", QStringLiteral("独立软件"), GroupBox6);
    rbTwoFunc = radio("rbTwoFunc", QStringLiteral("做为进销存软件前台"), GroupBox6);
    rbOtherFunc = radio("rbOtherFunc", QStringLiteral("做为第三方软件前台"), GroupBox6);
    rbSingle->setChecked(true);
    edtHostDbPath = lineEdit("edtHostDbPath", 260, GroupBox6);
    btnHostDbPath = new QPushButton(QStringLiteral(" 浏览 "), GroupBox6);
    btnHostDbPath->setObjectName(QStringLiteral("btnHostDbPath"));
    btnHostDbPath->setAutoDefault(false);
    auto *modes = new QGridLayout(GroupBox6);
    modes->addWidget(rbSingle, 0, 0);
    modes->addWidget(rbTwoFunc, 0, 1);
    modes->addWidget(rbOtherFunc, 0, 2);
    auto *host = new QHBoxLayout;
    host->addWidget(new QLabel(QStringLiteral("第三方软件数据库："), GroupBox6));
    host->addWidget(edtHostDbPath, 1);
    host->addWidget(btnHostDbPath);
    modes->addLayout(host, 1, 0, 1, 3);

    chk_EnabledCardPwd = new QCheckBox(QStringLiteral("是否启用卡密码"), page);
    chk_EnabledCardPwd->setObjectName(QStringLiteral("chk_EnabledCardPwd"));

    BitBtn1 = new QPushButton(QStringLiteral("   确   定   "), page);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(10);
    layout->addLayout(numbers);
    layout->addLayout(groups);
    layout->addWidget(CheckBox2);
    layout->addWidget(GroupBox6);
    layout->addWidget(chk_EnabledCardPwd);
    layout->addStretch();
    layout->addLayout(buttons);

    const auto hostEnabled = [this] {
        edtHostDbPath->setEnabled(rbOtherFunc->isChecked());
        btnHostDbPath->setEnabled(rbOtherFunc->isChecked());
    };
    connect(rbOtherFunc, &QRadioButton::toggled, this, hostEnabled);
    hostEnabled();
    connect(CheckBox2, &QCheckBox::clicked, this, &TOptionForm::CheckBox2Click);
    connect(btnHostDbPath, &QPushButton::clicked, this, &TOptionForm::btnHostDbPathClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TOptionForm::BitBtn1Click);
    return page;
}

QWidget *TOptionForm::buildPrintPage()
{
    auto *page = new QWidget(PageControl1);

    CheckBox1 = new QCheckBox(QStringLiteral("消费收款后，自动打印小票"), page);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Label13 = new QLabel(QStringLiteral("默认打印份数："), page);
    Label13->setObjectName(QStringLiteral("Label13"));
    edt_PrintCount = lineEdit("edt_PrintCount", 3, page);
    edt_PrintCount->setText(QStringLiteral("1"));
    edt_PrintCount->setFixedWidth(60);
    // Digits and editing keys only; an empty box or 0 becomes 1 again.
    edt_PrintCount->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}")), edt_PrintCount));
    connect(edt_PrintCount, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text.isEmpty() || text.toInt() <= 0)
            edt_PrintCount->setText(QStringLiteral("1"));
    });
    auto *printRow = new QHBoxLayout;
    printRow->addWidget(CheckBox1);
    printRow->addSpacing(24);
    printRow->addWidget(Label13);
    printRow->addWidget(edt_PrintCount);
    printRow->addStretch();

    auto *widthGroup = new QGroupBox(QStringLiteral("打印纸宽度"), page);
    widthGroup->setObjectName(QStringLiteral("GroupBox7"));
    RadioButton5 = radio("RadioButton5", QStringLiteral("58 mm"), widthGroup);
    RadioButton6 = radio("RadioButton6", QStringLiteral("80 mm"), widthGroup);
    RadioButton5->setChecked(true);
    auto *widthLayout = new QHBoxLayout(widthGroup);
    widthLayout->addWidget(RadioButton5);
    widthLayout->addSpacing(30);
    widthLayout->addWidget(RadioButton6);
    widthLayout->addStretch();

    biaoti = lineEdit("biaoti", 30, page);
    piaowei1 = lineEdit("piaowei1", 60, page);
    piaowei2 = lineEdit("piaowei2", 60, page);
    piaowei3 = lineEdit("piaowei3", 60, page);
    piaowei4 = lineEdit("piaowei4", 60, page);
    piaowei5 = lineEdit("piaowei5", 60, page);
    auto *texts = new QGridLayout;
    texts->setVerticalSpacing(6);
    texts->addWidget(caption(QStringLiteral("标题  ："), page), 0, 0);
    texts->addWidget(biaoti, 0, 1);
    const QList<QLineEdit *> footers = {piaowei1, piaowei2, piaowei3, piaowei4, piaowei5};
    for (int i = 0; i < footers.size(); ++i) {
        texts->addWidget(caption(QStringLiteral("票尾%1：").arg(i + 1), page), i + 1, 0);
        texts->addWidget(footers[i], i + 1, 1);
    }

    BitBtn2 = new QPushButton(QStringLiteral("   确   定   "), page);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(10);
    layout->addLayout(printRow);
    layout->addWidget(widthGroup);
    layout->addLayout(texts);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(CheckBox1, &QCheckBox::clicked, this, &TOptionForm::CheckBox1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TOptionForm::BitBtn2Click);
    return page;
}

void TOptionForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TOptionForm::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        PostLists();
    QDialog::hideEvent(event);
}

bool TOptionForm::PostLists()
{
    bool all = true;
    for (TOptionListPage *list : std::as_const(m_lists))
        all = list->post() && all;
    return all;
}

void TOptionForm::showMode(const QString &mode, bool unknownChangesNothing)
{
    QRadioButton *choice = nullptr;
    if (mode == QLatin1String("1"))
        choice = rbSingle;
    else if (mode == QLatin1String("2"))
        choice = rbTwoFunc;
    else if (mode == QLatin1String("3"))
        choice = rbOtherFunc;
    if (choice) {
        CheckBox2->setChecked(true);
        GroupBox6->setVisible(true);
        choice->setChecked(true);
    } else if (mode == QLatin1String("0") || !unknownChangesNothing) {
        CheckBox2->setChecked(false);
        GroupBox6->setVisible(false);
    }
}

void TOptionForm::FormShow()
{
    const ShopSettings &s = m_ctx.session.settings;
    Edit1->setText(QString::number(s.CashSeting));
    Edit2->setText(QString::number(s.JifenSeting));
    (s.JifenModiYesOrNo == 1 ? RadioButton1 : RadioButton2)->setChecked(true);
    (s.JinEModiYesOrNo == 1 ? RadioButton3 : RadioButton4)->setChecked(true);
    CheckBox1->setChecked(s.PrintYesOrNo == 1);
    CheckBox1Click();
    (s.PrintBig == 1 ? RadioButton5 : RadioButton6)->setChecked(true);
    showMode(s.SaoMaYes, false);
    biaoti->setText(s.Biaoti);
    piaowei1->setText(s.piaowei1);
    piaowei2->setText(s.piaowei2);
    piaowei3->setText(s.piaowei3);
    piaowei4->setText(s.piaowei4);
    piaowei5->setText(s.piaowei5);
    edtFloatNum->setText(QString::number(-s.FFloatNum));

    Guarded(m_ctx.prompter, [&] {
        const StoredSettings stored = SettingsStore(m_ctx.db, m_ctx.session.settings).readStored();
        if (stored.FEnabledCard == QLatin1String("1"))
            chk_EnabledCardPwd->setChecked(true);
        else if (stored.FEnabledCard == QLatin1String("0"))
            chk_EnabledCardPwd->setChecked(false);
        // The stored count is shown even while automatic printing is off, so
        // that ticking it again offers the count in force.
        edt_PrintCount->setText(QString::number(std::max(1, stored.FPrintCount)));
        showMode(stored.SaoMaYes, true);
        edtHostDbPath->setText(stored.HostDbPath);
    });

    // Shop assistants, shops, brands, categories, discounts, operators.
    for (int i : {1, 2, 3, 4, 5, 0}) {
        if (!Guarded(m_ctx.prompter, [&] { m_lists[i]->load(); }))
            break;
    }
    if (PageControl1->currentIndex() == BasicPage)
        BasicPageShow();
}

void TOptionForm::BasicPageShow()
{
    Guarded(m_ctx.prompter, [&] {
        showMode(SettingsStore(m_ctx.db, m_ctx.session.settings).readStored().SaoMaYes, true);
    });
}

void TOptionForm::CheckBox2Click()
{
    if (CheckBox2->isChecked()) {
        GroupBox6->setVisible(true);
        rbSingle->setChecked(true);
    } else {
        GroupBox6->setVisible(false);
    }
}

void TOptionForm::CheckBox1Click()
{
    Label13->setVisible(CheckBox1->isChecked());
    edt_PrintCount->setVisible(CheckBox1->isChecked());
}

void TOptionForm::btnHostDbPathClick()
{
    const std::optional<QString> file = m_ctx.files.openFileName(
        QStringLiteral("请选择第三方软件的数据库文件"),
        QStringLiteral("数据库文件 (*.db *.dll *.sqlite *.sqlite3);;所有文件 (*)"));
    if (file)
        edtHostDbPath->setText(*file);
}

void TOptionForm::BitBtn1Click()
{
    BasicSettingsForm form;
    form.threshold = Edit1->text();
    form.points = Edit2->text();
    form.pointsEditable = RadioButton1->isChecked();
    form.amountEditable = RadioButton3->isChecked();
    form.decimals = edtFloatNum->text();
    form.scanning = CheckBox2->isChecked();
    form.scanMode = rbTwoFunc->isChecked()     ? QStringLiteral("2")
                    : rbOtherFunc->isChecked() ? QStringLiteral("3")
                                               : QStringLiteral("1");
    form.cardPassword = chk_EnabledCardPwd->isChecked();
    form.hostDbPath = edtHostDbPath->text();
    Check refusal;
    if (!Guarded(m_ctx.prompter, [&] {
            refusal = SettingsStore(m_ctx.db, m_ctx.session.settings).saveBasic(form);
        }))
        return;
    if (refusal) {
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    m_ctx.prompter.information(QStringLiteral("设置成功!"));
}

void TOptionForm::BitBtn2Click()
{
    PrintSettingsForm form;
    form.autoPrint = CheckBox1->isChecked();
    form.narrowPaper = RadioButton5->isChecked();
    form.copies = edt_PrintCount->text();
    form.title = biaoti->text();
    form.footers = {piaowei1->text(), piaowei2->text(), piaowei3->text(), piaowei4->text(),
                    piaowei5->text()};
    Check refusal;
    if (!Guarded(m_ctx.prompter, [&] {
            refusal = SettingsStore(m_ctx.db, m_ctx.session.settings).savePrint(form);
        }))
        return;
    if (refusal) {
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    m_ctx.prompter.information(QStringLiteral("设置成功！"));
}
