#pragma once

#include "members/Member.h"

#include <QGroupBox>
#include <QList>

class QLabel;

// One value of the member panel: the label's object name, its caption and
// place in the grid, and the member field it shows.
struct MemberPanelField {
    QString name;    // object name of the value label (Label16, ...)
    QString caption; // caption shown left of the value, "卡号：" ...
    MemberField field;
    int row = 0, column = 0, span = 1;
    QString captionName = QString(); // object name of the caption, when it needs one
};

// The "基本信息" group of a window that shows a looked-up member: one value
// label per entry of its table. It only displays; the window keeps the
// member it loaded as a value.
class MemberPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit MemberPanel(const QList<MemberPanelField> &fields, QWidget *parent = nullptr);

    // The panel of the member sale screens; `chuZhiCaptionName` names the
    // caption of the stored-value balance (the scan-mode screen calls it
    // Label2022).
    static QList<MemberPanelField> SaleScreenFields(const QString &chuZhiCaptionName);

    void ShowMember(const Member &member);
    void Clear();
    // The free member fields' captions from the program's texts + "：".
    void SetFieldCaptions();
    // The value label of a field (nullptr when the panel does not show it).
    QLabel *valueLabel(MemberField field) const;

private:
    struct Entry {
        MemberField field;
        QLabel *caption;
        QLabel *value;
    };
    QList<Entry> m_entries;
};
