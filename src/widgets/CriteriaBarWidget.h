#pragma once

#include "data/ReportCriteria.h"

#include <QWidget>

struct AppContext;
class QComboBox;
class QDateEdit;
class QPushButton;

// The row over a report's grid where the operator chooses what to list:
// 开始日期 (dtpStart) and 结束日期 (dtpEnd), both today at first, the shop
// (cbShop) and the operator (cbOperator) when the report has them, each
// list starting with 全部, and 查询 (btnQuery). 查询 refuses an end day before
// the start day; otherwise it hands the criteria to the window.
class CriteriaBar : public QWidget
{
    Q_OBJECT
public:
    enum Choice { Shop = 0x1, Operator = 0x2 };
    Q_DECLARE_FLAGS(Choices, Choice)

    explicit CriteriaBar(AppContext &ctx, Choices choices = {}, QWidget *parent = nullptr);

    QDateEdit *dtpStart, *dtpEnd;
    QComboBox *cbShop;     // nullptr without the Shop choice
    QComboBox *cbOperator; // nullptr without the Operator choice
    QPushButton *btnQuery;

    // What is chosen now (not checked).
    ReportCriteria criteria() const;
    void setRange(const QDate &start, const QDate &end);
    // Reads the shop and operator lists again; a name chosen stays chosen
    // while it is still listed, else 全部 is. False when the lists could
    // not be read (the error was shown). Every showing of the bar does it.
    bool reload();

signals:
    // 查询 with criteria that pass their check.
    void queryRequested(const ReportCriteria &criteria);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void query();

    AppContext &m_ctx;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CriteriaBar::Choices)
