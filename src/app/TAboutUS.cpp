#include "app/TAboutUS.h"

#include "context/AppInfo.h"
#include "widgets/FormWidget.h"

#include <QGroupBox>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

TAboutUS::TAboutUS(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TAboutUS"));
    setWindowTitle(QStringLiteral("关于我们"));

    auto *group = new QGroupBox(QStringLiteral("   关于我们   "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    Image1 = new QLabel(group);
    Image1->setObjectName(QStringLiteral("Image1"));
    // The maker's mark: the program's initial on a warm tile.
    Image1->setPixmap(
        TilePicture(80, QStringLiteral("纳"), QColor(232, 120, 70), QColor(190, 60, 40)));
    Image1->setAlignment(Qt::AlignCenter);

    const auto label = [group](const char *name) {
        auto *l = new QLabel(group);
        l->setObjectName(QString::fromLatin1(name));
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    Label1 = label("Label1");
    QFont title = Label1->font();
    title.setPointSize(16);
    title.setBold(true);
    Label1->setFont(title);
    Label2 = label("Label2");
    Label3 = label("Label3");
    Label4 = label("Label4");
    Label5 = label("Label5");
    Label6 = label("Label6");
    Label3->setText(QStringLiteral("百纳软件 版权所有"));
    Label4->setText(AppInfo::VendorContact);
    Label5->setText(QStringLiteral("网址：") + AppInfo::PublishUrl.section(QLatin1Char('/'), 0, 2));
    Label6->setText(QStringLiteral("服务时间：周一至周六 9:00-18:00"));
    for (QLabel *l : {Label3, Label4, Label5, Label6})
        l->setStyleSheet(QStringLiteral("color: #444"));

    auto *inner = new QVBoxLayout(group);
    inner->setContentsMargins(30, 22, 30, 20);
    inner->setSpacing(6);
    inner->addWidget(Image1);
    inner->addSpacing(6);
    inner->addWidget(Label1);
    inner->addWidget(Label2);
    inner->addSpacing(12);
    inner->addWidget(Label3);
    inner->addWidget(Label4);
    inner->addWidget(Label5);
    inner->addWidget(Label6);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(group);
}

void TAboutUS::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ShowInfo(AppInfo::StatusText);
}

void TAboutUS::ShowInfo(const QString &statusText)
{
    Label1->setText(AppInfo::AppTitle);
    Label2->setText(AppInfo::VersionText);
    const bool contacts = !statusText.isEmpty();
    Label4->setVisible(contacts);
    Label5->setVisible(contacts);
    Label6->setVisible(contacts);
    adjustSize();
}
