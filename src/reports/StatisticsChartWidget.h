#pragma once

#include "reports/SalesStatistics.h"

#include <QChartView>

class QBarCategoryAxis;
class QValueAxis;

// The chart over the statistics lists: a bar per day or month of the range,
// one set per series (sales and returns, or recharges), the amounts on the
// left axis.
class StatisticsChartView : public QChartView
{
    Q_OBJECT
public:
    explicit StatisticsChartView(QWidget *parent = nullptr);

    // Draws `chart` in place of what was shown.
    void showChart(const SalesStatistics::Chart &chart);
    // No bars.
    void clearChart();

    // What is drawn, for whoever reads the chart back (the tests).
    const SalesStatistics::Chart &shown() const { return m_shown; }

private:
    SalesStatistics::Chart m_shown;
};
