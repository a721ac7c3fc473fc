#pragma once

#include <QTimer>
#include <QWidget>

// The start picture: shown first, hidden after 1800 ms, when it asks for the
// login dialog. It draws itself: the title on a calm background.
class TSplashForm : public QWidget
{
    Q_OBJECT
public:
    explicit TSplashForm(QWidget *parent = nullptr);

    QTimer *Timer1; // fires once, 1800 ms after creation

signals:
    void finished();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Timer1Timer();
};
