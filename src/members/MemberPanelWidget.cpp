#include "members/MemberPanelWidget.h"

#include "context/AppInfo.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace
{

QLabel *Caption(const MemberPanelField &f, QWidget *parent)
{
    auto *label = new QLabel(f.caption, parent);
    if (!f.captionName.isEmpty())
        label->setObjectName(f.captionName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit *Box(const MemberPanelField &f, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(f.name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setStyleSheet(QStringLiteral("background-color: silver"));
    // Date and time values show whole.
    if (f.field == MemberField::InputDate || f.field == MemberField::ValidUntil)
        box->setMinimumWidth(
            box->fontMetrics().horizontalAdvance(QStringLiteral("2026-12-31 23:59:59")) + 16);
    return box;
}

QLabel *Value(const MemberPanelField &f, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(f.name);
    label->setMinimumWidth(90);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (f.field == MemberField::Card) {
        label->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
        QFont big = label->font();
        big.setPointSize(big.pointSize() + 3);
        label->setFont(big);
    } else {
        label->setStyleSheet(QStringLiteral("color: #003c8f"));
    }
    if (f.field == MemberField::Other)
        label->setWordWrap(true);
    return label;
}

} // namespace

QList<MemberPanelField> MemberPanel::SaleScreenFields(const QString &chuZhiCaptionName)
{
    using F = MemberField;
    return {
        {QStringLiteral("Label16"), QStringLiteral("卡号："), F::Card, 0, 0},
        {QStringLiteral("Label17"), QStringLiteral("姓名："), F::Name, 0, 1},
        {QStringLiteral("Label18"), QStringLiteral("性别："), F::Sex, 0, 2},
        {QStringLiteral("Label21"), QStringLiteral("积分："), F::Points, 1, 0},
        {QStringLiteral("Label22"), QStringLiteral("金额："), F::Spending, 1, 1},
        {QStringLiteral("Label20"), QStringLiteral("储值金额："), F::Balance, 1, 2, 1,
         chuZhiCaptionName},
        {QStringLiteral("Label24"), QStringLiteral("爱好颜色："), F::LikeColor, 2, 0},
        {QStringLiteral("Label25"), QStringLiteral("腰围："), F::Yaowei, 2, 1},
        {QStringLiteral("Label26"), QStringLiteral("码号："), F::Size, 2, 2},
        {QStringLiteral("Label27"), QStringLiteral("电话："), F::Tel, 3, 0},
        {QStringLiteral("Label28"), QStringLiteral("手机："), F::Mobi, 3, 1},
        {QStringLiteral("Label19"), QStringLiteral("出生年月："), F::Birthday, 3, 2},
        {QStringLiteral("Label23"), QStringLiteral("职业："), F::Work, 4, 0},
        {QStringLiteral("Label29"), QStringLiteral("地址："), F::Address, 4, 1, 3},
        {QStringLiteral("Label45"), QStringLiteral("备注："), F::Other, 5, 0, 5},
    };
}

MemberPanel::MemberPanel(const QList<MemberPanelField> &fields, QWidget *parent, Style style,
                         const QString &title)
    : QGroupBox(title, parent)
{
    setObjectName(QStringLiteral("MemberInfo"));
    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    int columns = 1;
    for (const MemberPanelField &f : fields) {
        Entry e{f.field, Caption(f, this)};
        if (style == Style::Boxes)
            e.box = Box(f, this);
        else
            e.label = Value(f, this);
        grid->addWidget(e.caption, f.row, f.column * 2);
        grid->addWidget(e.box ? static_cast<QWidget *>(e.box) : e.label, f.row, f.column * 2 + 1, 1,
                        f.span);
        columns = std::max(columns, f.column + 1);
        m_entries << e;
    }
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c * 2 + 1, 1);
}

void MemberPanel::ShowMember(const Member &member)
{
    for (const Entry &e : std::as_const(m_entries))
        e.setText(MemberFieldText(member, e.field));
}

void MemberPanel::Clear()
{
    for (const Entry &e : std::as_const(m_entries))
        e.setText(QString());
}

void MemberPanel::SetFieldCaptions()
{
    for (const Entry &e : std::as_const(m_entries)) {
        if (e.field == MemberField::LikeColor)
            e.caption->setText(AppInfo::MemberFieldCaption1 + QStringLiteral("："));
        else if (e.field == MemberField::Size)
            e.caption->setText(AppInfo::MemberFieldCaption2 + QStringLiteral("："));
        else if (e.field == MemberField::Yaowei)
            e.caption->setText(AppInfo::MemberFieldCaption3 + QStringLiteral("："));
    }
}

void MemberPanel::Entry::setText(const QString &text) const
{
    if (box)
        box->setText(text);
    else
        label->setText(text);
}

QString MemberPanel::Entry::text() const
{
    return box ? box->text() : label->text();
}

QString MemberPanel::valueText(MemberField field) const
{
    for (const Entry &e : m_entries) {
        if (e.field == field)
            return e.text();
    }
    return QString();
}
