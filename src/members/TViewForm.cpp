#include "members/TViewForm.h"

#include "context/AppInfo.h"
#include "data/TextRules.h"
#include "export/ExcelExport.h"
#include "export/TFrmExcelOption.h"
#include "members/TModiMemberInfo.h"
#include "widgets/DataGridWidget.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace
{
// 序号, 卡号, 姓名, then 性别 narrow; the stored value of the by-card list
// sits before 性别 and gets room for its amount.
const QList<int> MatchWidths = {50, 100, 50, 30};
const QList<int> MatchWidthsWithStoredValue = {50, 100, 50, 70, 30};
const QList<int> SaleWidths = {70, 60, 60, 70, 120, 70, 70};
const QList<int> LineWidths = {70, 70, 150, 60, 60, 50, 50, 60, 60, 60, 60, 60, 100};

const QList<int> &MatchWidthsFor(const DataGridWidget *grid)
{
    return grid->columnOf(QStringLiteral("储值金额")) >= 0 ? MatchWidthsWithStoredValue
                                                           : MatchWidths;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

DataGridWidget *makeGrid(QWidget *parent, const char *name)
{
    auto *grid = new DataGridWidget(parent);
    grid->setObjectName(QLatin1String(name));
    return grid;
}

QGroupBox *wrap(QWidget *parent, const QString &title, QWidget *content)
{
    auto *group = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(content);
    return group;
}
} // namespace

TViewForm::TViewForm(AppContext &ctx, QWidget *parent, TModiMemberInfo *editor)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_editor(editor)
{
    setObjectName(QStringLiteral("TViewForm"));
    setWindowTitle(QStringLiteral("查询"));
    if (!m_editor)
        m_editor = new TModiMemberInfo(ctx, this);

    // Searches.
    auto *cardGroup = new QGroupBox(QStringLiteral("   卡号查询   "), this);
    Edit1 = new QLineEdit(cardGroup);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(18);
    BitBtn3 = makeButton(cardGroup, "BitBtn3", QStringLiteral("   确   定  "));
    auto *cardRow = new QHBoxLayout(cardGroup);
    cardRow->addWidget(new QLabel(QStringLiteral("卡号："), cardGroup));
    cardRow->addWidget(Edit1, 1);
    cardRow->addWidget(BitBtn3);

    auto *nameGroup = new QGroupBox(QStringLiteral("  姓名查询   "), this);
    Edit2 = new QLineEdit(nameGroup);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setMaxLength(20);
    BitBtn4 = makeButton(nameGroup, "BitBtn4", QStringLiteral("   确   定   "));
    auto *nameRow = new QHBoxLayout(nameGroup);
    nameRow->addWidget(new QLabel(QStringLiteral("姓名："), nameGroup));
    nameRow->addWidget(Edit2, 1);
    nameRow->addWidget(BitBtn4);

    // The member's data.
    auto *infoGroup = new QGroupBox(QStringLiteral("   基本信息   "), this);
    infoGroup->setObjectName(QStringLiteral("GroupBox3"));
    auto *info = new QGridLayout(infoGroup);
    info->setHorizontalSpacing(6);
    info->setVerticalSpacing(6);
    const auto value = [&](const char *name) {
        auto *label = new QLabel(infoGroup);
        label->setObjectName(QLatin1String(name));
        label->setMinimumWidth(90);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setStyleSheet(QStringLiteral("color: #003399"));
        return label;
    };
    const auto pair = [&](QLabel *caption, QLabel *shown, int row, int column) {
        info->addWidget(caption, row, column, Qt::AlignRight);
        info->addWidget(shown, row, column + 1);
    };
    const auto caption = [&](const QString &text) { return new QLabel(text, infoGroup); };
    LUserCard = value("LUserCard");
    LUserName = value("LUserName");
    LUserSex = value("LUserSex");
    LUserNum = value("LUserNum");
    LUserMoneyAll = value("LUserMoneyAll");
    LUserBrithday = value("LUserBrithday");
    LUserWork = value("LUserWork");
    LUserWenhua = value("LUserWenhua");
    LUserLikeColor = value("LUserLikeColor");
    LUserSize = value("LUserSize");
    LUserYaowei = value("LUserYaowei");
    LUserInputDate = value("LUserInputDate");
    LUserTel = value("LUserTel");
    LUserMobi = value("LUserMobi");
    LUserAddress = value("LUserAddress");
    LUserAddress->setWordWrap(true);
    lblUserDate = value("lblUserDate");
    lblCardLocked = value("lblCardLocked");
    lblLikeColorCaption = caption(QString());
    lblLikeColorCaption->setObjectName(QStringLiteral("lblLikeColorCaption"));
    lblSizeCaption = caption(QString());
    lblSizeCaption->setObjectName(QStringLiteral("lblSizeCaption"));
    lblYaoweiCaption = caption(QString());
    lblYaoweiCaption->setObjectName(QStringLiteral("lblYaoweiCaption"));
    LUserOther = new QPlainTextEdit(infoGroup);
    LUserOther->setObjectName(QStringLiteral("LUserOther"));
    LUserOther->setEnabled(false);
    LUserOther->setMinimumHeight(50);

    pair(caption(QStringLiteral("卡号：")), LUserCard, 0, 0);
    pair(caption(QStringLiteral("姓名：")), LUserName, 0, 2);
    pair(caption(QStringLiteral("性别：")), LUserSex, 1, 0);
    pair(caption(QStringLiteral("出生日期：")), LUserBrithday, 1, 2);
    pair(caption(QStringLiteral("积分：")), LUserNum, 2, 0);
    pair(caption(QStringLiteral("金额：")), LUserMoneyAll, 2, 2);
    pair(caption(QStringLiteral("储值金额：")), LUserWork, 3, 0);
    pair(caption(QStringLiteral("文化程度：")), LUserWenhua, 3, 2);
    pair(lblLikeColorCaption, LUserLikeColor, 4, 0);
    pair(lblSizeCaption, LUserSize, 4, 2);
    pair(lblYaoweiCaption, LUserYaowei, 5, 0);
    pair(caption(QStringLiteral("电话：")), LUserTel, 5, 2);
    pair(caption(QStringLiteral("手机：")), LUserMobi, 6, 0);
    pair(caption(QStringLiteral("卡锁定：")), lblCardLocked, 6, 2);
    pair(caption(QStringLiteral("有效日期：")), lblUserDate, 7, 0);
    info->addWidget(caption(QStringLiteral("建卡时间：")), 8, 0, Qt::AlignRight);
    info->addWidget(LUserInputDate, 8, 1, 1, 3);
    info->addWidget(caption(QStringLiteral("地址：")), 9, 0, Qt::AlignRight);
    info->addWidget(LUserAddress, 9, 1, 1, 3);
    info->addWidget(caption(QStringLiteral("备注：")), 10, 0, Qt::AlignRight | Qt::AlignTop);
    info->addWidget(LUserOther, 10, 1, 1, 3);
    info->setRowStretch(10, 1);

    // Lists.
    DBGrid3 = makeGrid(this, "DBGrid3");
    DBGrid1 = makeGrid(this, "DBGrid1");
    DBGrid2 = makeGrid(this, "DBGrid2");

    btnModify = makeButton(this, "btnModify", QStringLiteral("修改"));
    btnExcel = makeButton(this, "btnExcel", QStringLiteral("导出Excel"));
    chk_ExcelAll = new QCheckBox(QStringLiteral("导出当前查询记录"), this);
    chk_ExcelAll->setObjectName(QStringLiteral("chk_ExcelAll"));
    btnClose = makeButton(this, "btnClose", QStringLiteral("关闭"));

    auto *left = new QVBoxLayout;
    left->addWidget(cardGroup);
    left->addWidget(nameGroup);
    left->addWidget(infoGroup, 1);
    auto *leftBox = new QWidget(this);
    leftBox->setLayout(left);
    leftBox->setFixedWidth(400);
    left->setContentsMargins(0, 0, 0, 0);

    auto *right = new QVBoxLayout;
    right->addWidget(wrap(this, QStringLiteral("   查询结果   "), DBGrid3), 2);
    right->addWidget(wrap(this, QStringLiteral("   消费记录   "), DBGrid1), 3);
    right->addWidget(wrap(this, QStringLiteral("   消费明细   "), DBGrid2), 3);

    auto *body = new QHBoxLayout;
    body->addWidget(leftBox);
    body->addLayout(right, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnModify);
    buttons->addSpacing(20);
    buttons->addWidget(chk_ExcelAll);
    buttons->addWidget(btnExcel);
    buttons->addSpacing(20);
    buttons->addWidget(btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(1180, 720);

    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    connect(BitBtn3, &QPushButton::clicked, this, &TViewForm::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TViewForm::BitBtn4Click);
    connect(DBGrid3, &QAbstractItemView::clicked, this, &TViewForm::DBGrid3CellClick);
    connect(DBGrid1, &QAbstractItemView::clicked, this, &TViewForm::DBGrid1CellClick);
    connect(btnModify, &QPushButton::clicked, this, &TViewForm::btnModifyClick);
    connect(btnExcel, &QPushButton::clicked, this, &TViewForm::btnExcelClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
    // The member shown here changed elsewhere (an edit, a sale): shown afresh.
    connect(&m_ctx.notices, &ChangeNotices::memberChanged, this, [this](int id) {
        if (isVisible() && id != 0 && id == m_shownUserId)
            RefreshShownMember();
    });
    connect(&m_ctx.notices, &ChangeNotices::salesChanged, this, [this] {
        if (isVisible() && m_shownUserId != 0)
            RefreshShownMember();
    });
}

bool TViewForm::eventFilter(QObject *watched, QEvent *event)
{
    // Enter runs the search of the box being typed in.
    if (event->type() == QEvent::FocusIn) {
        if (watched == Edit1) {
            BitBtn4->setDefault(false);
            BitBtn3->setDefault(true);
        } else if (watched == Edit2) {
            BitBtn3->setDefault(false);
            BitBtn4->setDefault(true);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TViewForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TViewForm::closeEvent(QCloseEvent *event)
{
    resetExcelOption();
    if (m_excelOption)
        m_excelOption->hide();
    QDialog::closeEvent(event);
}

// The option window's exports work only after the operator asked for them
// in the current showing.
void TViewForm::resetExcelOption()
{
    chk_ExcelAll->setChecked(false);
    if (m_excelOption)
        m_excelOption->clearSources();
}

void TViewForm::updateExcelSources()
{
    if (m_excelOption && m_excelOption->hasSources())
        m_excelOption->setSources(DBGrid1->source(), DBGrid2->source());
}

void TViewForm::FormShow()
{
    resetExcelOption();
    ClearMemberInfo();
    LoadSaleLines(LoadSales(0));
    LoadMemberMatches(MatchKind::UserID, QStringLiteral("0"));
    lblLikeColorCaption->setText(AppInfo::MemberFieldCaption1 + QStringLiteral("："));
    lblSizeCaption->setText(AppInfo::MemberFieldCaption2 + QStringLiteral("："));
    lblYaoweiCaption->setText(AppInfo::MemberFieldCaption3 + QStringLiteral("："));
}

void TViewForm::ShowForCard(const QString &card)
{
    if (!isVisible())
        show();
    raise();
    activateWindow();
    Edit1->setText(card.trimmed());
    BitBtn3Click();
}

void TViewForm::ClearMemberInfo()
{
    for (QLabel *label :
         {LUserCard, LUserName, LUserSex, LUserNum, LUserMoneyAll, LUserBrithday, LUserWork,
          LUserWenhua, LUserLikeColor, LUserSize, LUserYaowei, LUserInputDate, LUserTel, LUserMobi,
          LUserAddress, lblUserDate, lblCardLocked})
        label->clear();
    LUserOther->clear();
    m_shownUserId = 0;
}

qint64 TViewForm::ShowMemberInfo(MemberKey key, const QString &value)
{
    std::optional<Member> m;
    if (!Guarded(m_ctx.prompter, [&] { m = FindNewestMember(m_ctx.db, key, value); }) || !m)
        return 0;
    const auto text = [&](MemberField field) { return MemberFieldText(*m, field).trimmed(); };
    using F = MemberField;
    LUserCard->setText(text(F::Card));
    LUserName->setText(text(F::Name));
    LUserSex->setText(text(F::Sex));
    LUserNum->setText(text(F::Points));
    LUserMoneyAll->setText(text(F::Spending));
    LUserBrithday->setText(text(F::Birthday));
    LUserWork->setText(text(F::Balance));
    LUserWenhua->setText(text(F::Wenhua));
    LUserLikeColor->setText(text(F::LikeColor));
    LUserSize->setText(text(F::Size));
    LUserYaowei->setText(text(F::Yaowei));
    LUserInputDate->setText(text(F::InputDate));
    LUserTel->setText(text(F::Tel));
    LUserMobi->setText(text(F::Mobi));
    LUserAddress->setText(text(F::Address));
    LUserOther->setPlainText(text(F::Other));
    lblUserDate->setText(text(F::ValidUntil));
    lblCardLocked->setText(m->stop == 1   ? QStringLiteral("已锁定")
                           : m->stop == 0 ? QStringLiteral("已启用")
                                          : QString());
    m_shownUserId = m->id;
    return m_shownUserId;
}

void TViewForm::LoadMemberMatches(MatchKind kind, const QString &value)
{
    Guarded(m_ctx.prompter, [&] {
        DBGrid3->setSource(m_ctx.db, MemberMatchesSource(kind, value));
        DBGrid3->setColumnWidths(MatchWidthsFor(DBGrid3));
    });
}

qint64 TViewForm::LoadSales(qint64 userId)
{
    qint64 first = 0;
    Guarded(m_ctx.prompter, [&] {
        DBGrid1->setSource(m_ctx.db, MemberSalesSource(userId));
        DBGrid1->setColumnWidths(SaleWidths);
        first = DBGrid1->value(0, QStringLiteral("序号")).toLongLong();
    });
    updateExcelSources();
    return first;
}

void TViewForm::LoadSaleLines(qint64 saleId)
{
    Guarded(m_ctx.prompter, [&] {
        DBGrid2->setSource(m_ctx.db, SaleLinesSource(saleId));
        DBGrid2->setColumnWidths(LineWidths);
    });
    updateExcelSources();
}

// Every refusal of the two searches puts the focus in the card box.
void TViewForm::refuseSearch(const QString &message)
{
    m_ctx.prompter.information(message);
    Edit1->setFocus();
    Edit1->selectAll();
}

void TViewForm::BitBtn3Click()
{
    const QString card = CleanText(Edit1->text());
    if (card.isEmpty()) {
        refuseSearch(QStringLiteral("请输入卡号!"));
        return;
    }
    const qint64 id = ShowMemberInfo(MemberKey::Card, card);
    if (id == 0) {
        refuseSearch(QStringLiteral("没有查到此卡号!"));
        return;
    }
    Edit1->clear();
    Edit2->clear();
    LoadMemberMatches(MatchKind::UserID, QString::number(id));
    LoadSaleLines(LoadSales(id));
}

void TViewForm::BitBtn4Click()
{
    const QString name = CleanText(Edit2->text());
    if (name.isEmpty()) {
        refuseSearch(QStringLiteral("请输入用户姓名！"));
        return;
    }
    const qint64 id = ShowMemberInfo(MemberKey::Name, name);
    if (id == 0) {
        refuseSearch(QStringLiteral("没有查到此用户！"));
        return;
    }
    Edit1->clear();
    Edit2->clear();
    LoadMemberMatches(MatchKind::UserName, name);
    LoadSaleLines(LoadSales(id));
}

void TViewForm::DBGrid3CellClick()
{
    const QVariant id = DBGrid3->currentValue(QStringLiteral("序号"));
    if (!id.isValid())
        return;
    ShowMemberInfo(MemberKey::Id, id.toString());
    LoadSaleLines(LoadSales(id.toLongLong()));
}

void TViewForm::DBGrid1CellClick()
{
    const QVariant id = DBGrid1->currentValue(QStringLiteral("序号"));
    if (!id.isValid())
        return;
    LoadSaleLines(id.toLongLong());
}

void TViewForm::btnModifyClick()
{
    const QString card = LUserCard->text().trimmed();
    if (card.isEmpty())
        return;
    // The member shown is the newest holding the card; that one is edited.
    const qint64 id = ShowMemberInfo(MemberKey::Card, card);
    if (id == 0)
        return;
    // A saved edit is announced, and the notice shows the member afresh.
    m_editor->EditMember(QString::number(id));
}

void TViewForm::RefreshShownMember()
{
    // The labels follow the member even when an edit changed its card number.
    ShowMemberInfo(MemberKey::Id, QString::number(m_shownUserId));
    Guarded(m_ctx.prompter, [&] {
        DBGrid3->refresh(m_ctx.db);
        DBGrid3->setColumnWidths(MatchWidthsFor(DBGrid3));
        DBGrid1->refresh(m_ctx.db);
        DBGrid1->setColumnWidths(SaleWidths);
    });
}

void TViewForm::btnExcelClick()
{
    if (!chk_ExcelAll->isChecked()) {
        ExportDataSetToExcel(m_ctx, AllSaleLinesExportSource());
        return;
    }
    if (!m_excelOption)
        m_excelOption = new TFrmExcelOption(m_ctx, this);
    m_excelOption->setSources(DBGrid1->source(), DBGrid2->source());
    m_excelOption->show();
    m_excelOption->raise();
}
