#include "app/TSplashForm.h"

#include "context/AppInfo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

TSplashForm::TSplashForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("TSplashForm"));
    setWindowTitle(AppInfo::ShortTitle);
    setFixedSize(580, 432);
    if (QScreen *screen = this->screen())
        move(screen->geometry().center() - rect().center());
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1800);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TSplashForm::Timer1Timer);
    Timer1->start();
}

void TSplashForm::Timer1Timer()
{
    Timer1->stop();
    hide();
    emit finished();
}

void TSplashForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0.0, QColor(38, 92, 140));
    sky.setColorAt(1.0, QColor(170, 205, 225));
    p.fillRect(rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(255, 255, 255, 60));
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(QPoint(460, 330), 40 + i * 45, 40 + i * 45);

    QFont title = font();
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 120, width(), 80), Qt::AlignCenter, AppInfo::AppTitle);
    QFont small = font();
    small.setPixelSize(16);
    p.setFont(small);
    p.drawText(QRect(0, 200, width(), 40), Qt::AlignCenter, AppInfo::VersionText);
    p.drawText(QRect(0, 380, width(), 30), Qt::AlignCenter,
               QStringLiteral("会员 · 收银 · 积分 · 储值 · 计次"));
}
