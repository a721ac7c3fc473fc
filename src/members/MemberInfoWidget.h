#pragma once

#include <QGroupBox>

class QLabel;
struct MemberRecord;

// The "基本信息" group of the member sale screens: one value label per
// column of the member shown. The card label (Label16) is non-empty
// exactly while a member is shown.
class MemberInfoWidget : public QGroupBox
{
    Q_OBJECT
public:
    // `chuZhiCaptionName` names the caption label of the stored-value balance
    // (the scan-mode screen calls it Label2022).
    explicit MemberInfoWidget(const QString &chuZhiCaptionName, QWidget *parent = nullptr);

    void ShowMember(const MemberRecord &member);
    void Clear();
    bool MemberShown() const;
    // The free member fields' captions + "：".
    void SetFieldCaptions();

    QLabel *Label16; // 卡号: User_Card
    QLabel *Label17; // 姓名: User_Name
    QLabel *Label18; // 性别: User_Sex
    QLabel *Label21; // 积分: User_Num
    QLabel *Label22; // 金额: User_MoneyAll
    QLabel *Label20; // 储值金额: User_ChuZhi
    QLabel *Label24; // first free field: User_LikeColor
    QLabel *Label25; // third free field: User_Yaowei
    QLabel *Label26; // second free field: User_Size
    QLabel *Label27; // 电话: User_Tel
    QLabel *Label28; // 手机: User_Mobi
    QLabel *Label29; // 地址: User_Address
    QLabel *Label19; // 出生年月: User_Brithday
    QLabel *Label23; // 职业: User_Work
    QLabel *Label45; // 备注: User_Other

private:
    QList<QLabel *> values() const;

    QLabel *m_likeColorCaption, *m_yaoweiCaption, *m_sizeCaption;
};
