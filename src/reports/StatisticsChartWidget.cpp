#include "reports/StatisticsChartWidget.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QValueAxis>
#include <cmath>

namespace
{

// A period as the axis shows it: "03-05" for a day, "24-03" for a month.
QString AxisLabel(const QString &period, SalesStatistics::Step step)
{
    if (step == SalesStatistics::Step::Day && period.size() == 10)
        return period.mid(5);
    if (step == SalesStatistics::Step::Month && period.size() == 7)
        return period.mid(2);
    return period;
}

} // namespace

StatisticsChartView::StatisticsChartView(QWidget *parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    // The view's own chart: one set in its place would leave this one to
    // whoever deletes it.
    QChart *c = chart();
    c->setAnimationOptions(QChart::NoAnimation);
    c->legend()->setAlignment(Qt::AlignRight);
    c->setMargins(QMargins(4, 4, 4, 4));
}

void StatisticsChartView::clearChart()
{
    showChart(SalesStatistics::Chart{});
}

void StatisticsChartView::showChart(const SalesStatistics::Chart &shown)
{
    m_shown = shown;
    QChart *c = chart();
    c->removeAllSeries();
    const QList<QAbstractAxis *> axes = c->axes();
    for (QAbstractAxis *axis : axes) {
        c->removeAxis(axis);
        delete axis;
    }

    const bool byDay = shown.step == SalesStatistics::Step::Day;
    c->setTitle(shown.series.isEmpty() ? QString()
                                       : (byDay ? QStringLiteral("每日") : QStringLiteral("每月")) +
                                             shown.series.join(QStringLiteral("与")));

    auto *series = new QBarSeries;
    QList<QBarSet *> sets;
    for (const QString &name : shown.series) {
        sets << new QBarSet(name);
        series->append(sets.last());
    }
    QStringList labels;
    double low = 0, high = 0;
    for (const SalesStatistics::ChartPeriod &p : shown.periods) {
        labels << AxisLabel(p.period, shown.step);
        // A sum beyond what a double holds is drawn as nothing.
        const double values[] = {std::isfinite(p.first) ? p.first : 0,
                                 std::isfinite(p.second) ? p.second : 0};
        for (int i = 0; i < sets.size() && i < 2; ++i) {
            sets[i]->append(values[i]);
            low = std::min(low, values[i]);
            high = std::max(high, values[i]);
        }
    }
    c->addSeries(series);

    auto *x = new QBarCategoryAxis;
    x->append(labels);
    // Many days or months: the labels stand upright so they do not overlap.
    x->setLabelsAngle(labels.size() > 14 ? -90 : 0);
    c->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);

    auto *y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setRange(low, high > low ? high : low + 1);
    y->applyNiceNumbers();
    c->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    c->legend()->setVisible(!shown.series.isEmpty());
}
