#pragma once

#include "data/QuerySource.h"

#include <QWidget>

struct AppContext;
class DataGridWidget;
class NavigatorBar;
class QHBoxLayout;
class QPushButton;

// The body of a list or report window: a read-only grid (DBGrid1) over the
// window's select, and under it the navigator's moves (DBNavigator1) and an
// export button (btnExcel, "导出Excel") that writes the rows of the select
// shown into an .xls workbook. The window adds its own buttons to the row
// under the grid.
class GridPanel : public QWidget
{
    Q_OBJECT
public:
    explicit GridPanel(AppContext &ctx, QWidget *parent = nullptr);

    DataGridWidget *grid() const { return m_grid; }
    NavigatorBar *navigator() const { return m_navigator; }
    QPushButton *exportButton() const { return m_export; }
    // The row under the grid: navigator, stretch, export button.
    QHBoxLayout *buttonRow() const { return m_buttons; }

    // Shows the rows of `source` with the column widths set; a failing
    // select is shown as an error, the grid keeps its rows and the result is
    // false.
    bool setSource(const QuerySource &source);
    // Runs the select shown again, keeping the current row where possible.
    bool refresh();
    // Column widths in pixels from the first column on, kept for every
    // select shown afterwards.
    void setColumnWidths(const QList<int> &widths);
    QList<int> columnWidths() const { return m_widths; }

    // What the export button does: asks for a file and writes the select
    // shown (no select: "没有可导出的数据!").
    void exportRows();

private:
    AppContext &m_ctx;
    DataGridWidget *m_grid;
    NavigatorBar *m_navigator;
    QPushButton *m_export;
    QHBoxLayout *m_buttons;
    QList<int> m_widths;
};
