#include "members/MemberInfoWidget.h"

#include "context/AppInfo.h"
#include "members/MemberCard.h"

#include <QGridLayout>
#include <QLabel>

namespace
{

QLabel *Caption(const QString &text, QWidget *parent, const QString &name = QString())
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *Value(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(90);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setStyleSheet(QStringLiteral("color: #003c8f"));
    return label;
}

} // namespace

MemberInfoWidget::MemberInfoWidget(const QString &chuZhiCaptionName, QWidget *parent)
    : QGroupBox(QStringLiteral("   基本信息   "), parent)
{
    setObjectName(QStringLiteral("MemberInfo"));
    Label16 = Value(QStringLiteral("Label16"), this);
    Label16->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    QFont big = Label16->font();
    big.setPointSize(big.pointSize() + 3);
    Label16->setFont(big);
    Label17 = Value(QStringLiteral("Label17"), this);
    Label18 = Value(QStringLiteral("Label18"), this);
    Label21 = Value(QStringLiteral("Label21"), this);
    Label22 = Value(QStringLiteral("Label22"), this);
    Label20 = Value(QStringLiteral("Label20"), this);
    Label24 = Value(QStringLiteral("Label24"), this);
    Label25 = Value(QStringLiteral("Label25"), this);
    Label26 = Value(QStringLiteral("Label26"), this);
    Label27 = Value(QStringLiteral("Label27"), this);
    Label28 = Value(QStringLiteral("Label28"), this);
    Label29 = Value(QStringLiteral("Label29"), this);
    Label19 = Value(QStringLiteral("Label19"), this);
    Label23 = Value(QStringLiteral("Label23"), this);
    Label45 = Value(QStringLiteral("Label45"), this);
    Label45->setWordWrap(true);

    m_likeColorCaption = Caption(QStringLiteral("爱好颜色："), this);
    m_yaoweiCaption = Caption(QStringLiteral("腰围："), this);
    m_sizeCaption = Caption(QStringLiteral("码号："), this);

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const auto pair = [&](int row, int col, QLabel *caption, QLabel *value, int span = 1) {
        grid->addWidget(caption, row, col * 2);
        grid->addWidget(value, row, col * 2 + 1, 1, span);
    };
    pair(0, 0, Caption(QStringLiteral("卡号："), this), Label16);
    pair(0, 1, Caption(QStringLiteral("姓名："), this), Label17);
    pair(0, 2, Caption(QStringLiteral("性别："), this), Label18);
    pair(1, 0, Caption(QStringLiteral("积分："), this), Label21);
    pair(1, 1, Caption(QStringLiteral("金额："), this), Label22);
    pair(1, 2, Caption(QStringLiteral("储值金额："), this, chuZhiCaptionName), Label20);
    pair(2, 0, m_likeColorCaption, Label24);
    pair(2, 1, m_yaoweiCaption, Label25);
    pair(2, 2, m_sizeCaption, Label26);
    pair(3, 0, Caption(QStringLiteral("电话："), this), Label27);
    pair(3, 1, Caption(QStringLiteral("手机："), this), Label28);
    pair(3, 2, Caption(QStringLiteral("出生年月："), this), Label19);
    pair(4, 0, Caption(QStringLiteral("职业："), this), Label23);
    pair(4, 1, Caption(QStringLiteral("地址："), this), Label29, 3);
    pair(5, 0, Caption(QStringLiteral("备注："), this), Label45, 5);
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);
}

QList<QLabel *> MemberInfoWidget::values() const
{
    return {Label16, Label17, Label18, Label21, Label22, Label20, Label24, Label25,
            Label26, Label27, Label28, Label29, Label19, Label23, Label45};
}

void MemberInfoWidget::ShowMember(const MemberRecord &m)
{
    Label16->setText(m.card);
    Label17->setText(m.name);
    Label18->setText(m.sex);
    Label21->setText(m.num);
    Label22->setText(m.moneyAll);
    Label20->setText(m.chuZhi);
    Label24->setText(m.likeColor);
    Label25->setText(m.yaowei);
    Label26->setText(m.size);
    Label27->setText(m.tel);
    Label28->setText(m.mobi);
    Label29->setText(m.address);
    Label19->setText(m.birthday);
    Label23->setText(m.work);
    Label45->setText(m.other);
}

void MemberInfoWidget::Clear()
{
    for (QLabel *label : values())
        label->clear();
}

bool MemberInfoWidget::MemberShown() const
{
    return !Label16->text().isEmpty();
}

void MemberInfoWidget::SetFieldCaptions()
{
    m_likeColorCaption->setText(AppInfo::MemberFieldCaption1 + QStringLiteral("："));
    m_yaoweiCaption->setText(AppInfo::MemberFieldCaption3 + QStringLiteral("："));
    m_sizeCaption->setText(AppInfo::MemberFieldCaption2 + QStringLiteral("："));
}
