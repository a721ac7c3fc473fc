#include "widgets/GridPanelWidget.h"

#include "context/AppContext.h"
#include "export/ExcelExport.h"
#include "widgets/DataGridWidget.h"
#include "widgets/NavigatorBarWidget.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

GridPanel::GridPanel(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx)
{
    m_grid = new DataGridWidget(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_navigator = new NavigatorBar(NavigatorMoves, NavigatorBar::Look::Icons, this);
    m_navigator->setObjectName(QStringLiteral("DBNavigator1"));
    m_navigator->setView(m_grid);
    m_export = new QPushButton(QStringLiteral("导出Excel"), this);
    m_export->setObjectName(QStringLiteral("btnExcel"));
    m_export->setAutoDefault(false);

    m_buttons = new QHBoxLayout;
    m_buttons->addWidget(m_navigator);
    m_buttons->addStretch();
    m_buttons->addWidget(m_export);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid, 1);
    layout->addLayout(m_buttons);

    connect(m_export, &QPushButton::clicked, this, &GridPanel::exportRows);
}

bool GridPanel::setSource(const QuerySource &source)
{
    return Guarded(m_ctx.prompter, [&] {
        m_grid->setSource(m_ctx.db, source);
        m_grid->setColumnWidths(m_widths);
    });
}

bool GridPanel::refresh()
{
    return Guarded(m_ctx.prompter, [&] {
        m_grid->refresh(m_ctx.db);
        m_grid->setColumnWidths(m_widths);
    });
}

void GridPanel::setColumnWidths(const QList<int> &widths)
{
    m_widths = widths;
    m_grid->setColumnWidths(widths);
}

void GridPanel::exportRows()
{
    ExportDataSetToExcel(m_ctx, m_grid->source());
}
