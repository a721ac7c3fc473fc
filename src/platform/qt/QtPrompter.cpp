#include "platform/qt/QtPrompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace
{

// The window the last box gave the keyboard back to. Until the window
// system reports it active again, a box asked for right after (a question,
// then its outcome) belongs to it too, and gives the keyboard back to it.
QPointer<QWidget> &LastOwner()
{
    static QPointer<QWidget> window;
    return window;
}

QWidget *owner()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    QWidget *last = LastOwner();
    return last && last->isVisible() ? last : nullptr;
}

// Gives the keyboard back to the window that asked once its box is gone.
// Without a window manager (and with some) nobody activates that window
// again, and the keys the operator types next would go nowhere, although
// the box the message names shows the focus.
class GiveBackFocus
{
public:
    GiveBackFocus() : m_window(owner()) {}
    ~GiveBackFocus()
    {
        if (m_window && m_window->isVisible()) {
            LastOwner() = m_window;
            m_window->raise();
            m_window->activateWindow();
        }
    }

private:
    QPointer<QWidget> m_window;
};

int runBox(QMessageBox::Icon icon, const QString &title, const QString &text,
           const QList<QPair<QString, QMessageBox::ButtonRole>> &buttons)
{
    const GiveBackFocus giveBack;
    QMessageBox box(icon, title, text, QMessageBox::NoButton, owner());
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QList<QAbstractButton *> added;
    for (const auto &b : buttons)
        added << box.addButton(b.first, b.second);
    box.setDefaultButton(qobject_cast<QPushButton *>(added.first()));
    box.exec();
    return added.indexOf(box.clickedButton());
}

} // namespace

void QtPrompter::information(const QString &text)
{
    runBox(QMessageBox::Information, QStringLiteral("提示"), text,
           {{QStringLiteral("确定"), QMessageBox::AcceptRole}});
}

void QtPrompter::error(const QString &text)
{
    runBox(QMessageBox::Critical, QStringLiteral("错误"), text,
           {{QStringLiteral("确定"), QMessageBox::AcceptRole}});
}

bool QtPrompter::question(const QString &text)
{
    return runBox(QMessageBox::Question, QStringLiteral("提示"), text,
                  {{QStringLiteral("是"), QMessageBox::YesRole},
                   {QStringLiteral("否"), QMessageBox::NoRole}}) == 0;
}

bool QtPrompter::confirm(const QString &text)
{
    return runBox(QMessageBox::Question, QStringLiteral("提示"), text,
                  {{QStringLiteral("确定"), QMessageBox::AcceptRole},
                   {QStringLiteral("取消"), QMessageBox::RejectRole}}) == 0;
}

std::optional<QString> QtPrompter::textInput(const QString &title, const QString &label,
                                             const QString &initial)
{
    const GiveBackFocus giveBack;
    QInputDialog dialog(owner());
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setTextValue(initial);
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}
