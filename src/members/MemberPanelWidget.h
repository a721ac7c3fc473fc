#pragma once

#include "members/Member.h"

#include <QGroupBox>
#include <QList>

class QLabel;
class QLineEdit;

// One value of the member panel: the label's object name, its caption and
// place in the grid, and the member field it shows.
struct MemberPanelField {
    QString name;    // object name of the value label (Label16, ...)
    QString caption; // caption shown left of the value, "卡号：" ...
    MemberField field;
    int row = 0, column = 0, span = 1;
    QString captionName = QString(); // object name of the caption, when it needs one
};

// The member group of a window that shows a looked-up member: one value
// per entry of its table, as a label or as a read-only box. It only
// displays; the window keeps the member it loaded as a value.
class MemberPanel : public QGroupBox
{
    Q_OBJECT
public:
    enum class Style {
        Labels, // value labels (the sale screens)
        Boxes,  // read-only edit boxes on a silver background
    };
    explicit MemberPanel(const QList<MemberPanelField> &fields, QWidget *parent = nullptr,
                         Style style = Style::Labels,
                         const QString &title = QStringLiteral("   基本信息   "));

    // The panel of the member sale screens; `chuZhiCaptionName` names the
    // caption of the stored-value balance (the scan-mode screen calls it
    // Label2022).
    static QList<MemberPanelField> SaleScreenFields(const QString &chuZhiCaptionName);

    void ShowMember(const Member &member);
    void Clear();
    // The free member fields' captions from the program's texts + "：".
    void SetFieldCaptions();
    // The text shown for a field (empty when the panel does not show it).
    QString valueText(MemberField field) const;

private:
    struct Entry {
        MemberField field;
        QLabel *caption;
        QLabel *label = nullptr;  // Style::Labels
        QLineEdit *box = nullptr; // Style::Boxes
        void setText(const QString &text) const;
        QString text() const;
    };
    QList<Entry> m_entries;
};
