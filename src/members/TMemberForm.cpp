#include "members/TMemberForm.h"

#include "export/ExcelExport.h"
#include "members/MemberRules.h"
#include "members/TModiMemberInfo.h"
#include "widgets/DataGridWidget.h"
#include "widgets/NavigatorBarWidget.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace
{
const QList<int> ListWidths = {50, 60, 60, 30, 50, 50, 60, 60, 50, 60, 50, 50, 80, 80, 90};
// The widths the list gets again after a deletion.
const QList<int> WidthsAfterDelete = {50, 60, 60, 30, 50, 50, 60, 60, 50, 70, 50, 40, 80, 80, 90};
} // namespace

TMemberForm::TMemberForm(AppContext &ctx, QWidget *parent, TModiMemberInfo *editor)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_editor(editor)
{
    setObjectName(QStringLiteral("TMemberForm"));
    setWindowTitle(QStringLiteral("会员"));
    if (!m_editor)
        m_editor = new TModiMemberInfo(ctx, this);

    auto *group = new QGroupBox(QStringLiteral("   会 员   "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    DBGrid1 = new DataGridWidget(group);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(DBGrid1);

    DBNavigator1 = new NavigatorBar(NavigatorMoves, NavigatorBar::Look::Icons, this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setView(DBGrid1);

    const auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    BtnModify = button("BtnModify", QStringLiteral("   修   改   "));
    BtnDelete = button("BtnDelete", QStringLiteral("   删   除   "));
    BtnDelete->hide();
    btnExcel = button("btnExcel", QStringLiteral("导出EXCEL"));
    BtnClose = button("BtnClose", QStringLiteral("    关  闭"));
    CheckBox1 = new QCheckBox(QStringLiteral("按消费金额排序"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(DBNavigator1);
    bottom->addSpacing(16);
    bottom->addWidget(CheckBox1);
    bottom->addStretch();
    bottom->addWidget(BtnModify);
    bottom->addWidget(BtnDelete);
    bottom->addWidget(btnExcel);
    bottom->addWidget(BtnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(bottom);
    resize(1000, 560);

    connect(CheckBox1, &QCheckBox::clicked, this, &TMemberForm::LoadMemberGrid);
    connect(BtnModify, &QPushButton::clicked, this, &TMemberForm::BtnModifyClick);
    connect(BtnDelete, &QPushButton::clicked, this, &TMemberForm::BtnDeleteClick);
    connect(btnExcel, &QPushButton::clicked, this, &TMemberForm::btnExcelClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(DBGrid1, &DataGridWidget::rowActivated, this, &TMemberForm::BtnModifyClick);
    // A member saved, issued or charged anywhere shows at once.
    connect(&m_ctx.notices, &ChangeNotices::memberChanged, this, [this] {
        if (isVisible())
            Guarded(m_ctx.prompter, [this] { DBGrid1->refresh(m_ctx.db); });
    });
}

void TMemberForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMemberForm::FormShow()
{
    // Only administrators may delete members.
    BtnDelete->setVisible(m_ctx.session.login.isAdministrator());
    LoadMemberGrid();
}

void TMemberForm::LoadMemberGrid()
{
    Guarded(m_ctx.prompter, [&] {
        DBGrid1->setSource(m_ctx.db, MemberListSource(CheckBox1->isChecked()));
        DBGrid1->setColumnWidths(ListWidths);
    });
}

void TMemberForm::BtnModifyClick()
{
    const QString id = DBGrid1->currentValue(QStringLiteral("序号")).toString().trimmed();
    if (id.isEmpty())
        return;
    m_editor->EditMember(id);
}

void TMemberForm::BtnDeleteClick()
{
    if (!m_ctx.prompter.question(MemberText::AskDelete))
        return;
    const QString id = DBGrid1->currentValue(QStringLiteral("序号")).toString().trimmed();
    if (id.isEmpty())
        return;
    const bool done = Guarded(m_ctx.prompter, [&] {
        DeleteMember(m_ctx.db, id.toLongLong());
        DBGrid1->refresh(m_ctx.db);
        DBGrid1->setColumnWidths(WidthsAfterDelete);
    });
    if (!done)
        return;
    emit m_ctx.notices.memberChanged(0);
    m_ctx.prompter.information(MemberText::Deleted);
}

void TMemberForm::btnExcelClick()
{
    ExportDataSetToExcel(m_ctx, DBGrid1->source());
}
