#include "widgets/CriteriaBarWidget.h"

#include "context/AppContext.h"
#include "widgets/FormWidget.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QShowEvent>

namespace
{

QDateEdit *dateEdit(const char *name, const QDate &day, QWidget *parent)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setDateRange(FirstReportDay, LastReportDay);
    edit->setDate(day);
    return edit;
}

QComboBox *choiceBox(const char *name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setMinimumWidth(120);
    box->addItem(AllChoice);
    return box;
}

// Fills a list with 全部 and the names of `source`, keeping the name chosen
// when it is still there. Throws DbError (the list stays as it was).
void refill(QComboBox *box, Database &db, const QuerySource &source)
{
    if (!box)
        return;
    const QString chosen = box->currentText();
    FillComboBox(box, db, source);
    box->insertItem(0, AllChoice);
    const int at = box->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(std::max(at, 0));
}

} // namespace

CriteriaBar::CriteriaBar(AppContext &ctx, Choices choices, QWidget *parent)
    : QWidget(parent), cbShop(nullptr), cbOperator(nullptr), cbSalePerson(nullptr), m_ctx(ctx),
      m_shopNames(ReportShopNames()), m_operatorNames(ReportOperatorNames()),
      m_salesPersonNames(ReportSalesPersonNames())
{
    const QDate today = ctx.clock.today();
    dtpStart = dateEdit("dtpStart", today, this);
    dtpEnd = dateEdit("dtpEnd", today, this);
    if (choices.testFlag(Shop))
        cbShop = choiceBox("cbShop", this);
    if (choices.testFlag(Operator))
        cbOperator = choiceBox("cbOperator", this);
    if (choices.testFlag(SalesPerson))
        cbSalePerson = choiceBox("cbSalePerson", this);
    btnQuery = new QPushButton(QStringLiteral("查询"), this);
    btnQuery->setObjectName(QStringLiteral("btnQuery"));
    btnQuery->setAutoDefault(false);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    const auto labelled = [&](const QString &caption, QWidget *control) {
        if (!control)
            return;
        auto *label = new QLabel(caption, this);
        label->setBuddy(control);
        row->addWidget(label);
        row->addWidget(control);
        row->addSpacing(8);
    };
    labelled(QStringLiteral("开始日期："), dtpStart);
    labelled(QStringLiteral("结束日期："), dtpEnd);
    labelled(QStringLiteral("店名："), cbShop);
    labelled(QStringLiteral("销售员："), cbSalePerson);
    labelled(QStringLiteral("操作员："), cbOperator);
    row->addWidget(btnQuery);
    row->addStretch();

    connect(btnQuery, &QPushButton::clicked, this, &CriteriaBar::query);
}

ReportCriteria CriteriaBar::criteria() const
{
    ReportCriteria c;
    c.startDay = dtpStart->date();
    c.endDay = dtpEnd->date();
    if (cbShop)
        c.shop = cbShop->currentText();
    if (cbOperator)
        c.operatorName = cbOperator->currentText();
    if (cbSalePerson)
        c.salesPerson = cbSalePerson->currentText();
    c.refuseReversed = m_rangeChecked;
    return c;
}

void CriteriaBar::setRange(const QDate &start, const QDate &end)
{
    dtpStart->setDate(start);
    dtpEnd->setDate(end);
}

void CriteriaBar::setNames(Choice list, const QuerySource &names)
{
    switch (list) {
    case Shop:
        m_shopNames = names;
        break;
    case Operator:
        m_operatorNames = names;
        break;
    case SalesPerson:
        m_salesPersonNames = names;
        break;
    }
}

QLabel *CriteriaBar::caption(const QWidget *control) const
{
    const QList<QLabel *> labels = findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    for (QLabel *label : labels) {
        if (control && label->buddy() == control)
            return label;
    }
    return nullptr;
}

void CriteriaBar::setRangeChecked(bool checked)
{
    m_rangeChecked = checked;
}

bool CriteriaBar::reload()
{
    return Guarded(m_ctx.prompter, [&] {
        refill(cbShop, m_ctx.db, m_shopNames);
        refill(cbSalePerson, m_ctx.db, m_salesPersonNames);
        refill(cbOperator, m_ctx.db, m_operatorNames);
    });
}

void CriteriaBar::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        reload();
}

void CriteriaBar::query()
{
    const ReportCriteria chosen = criteria();
    if (const Check refusal = chosen.check()) {
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    emit queryRequested(chosen);
}
