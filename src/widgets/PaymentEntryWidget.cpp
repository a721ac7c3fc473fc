#include "widgets/PaymentEntryWidget.h"

#include "data/TextRules.h"
#include "platform/Prompter.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

namespace
{

std::optional<Money> AmountOf(const QLineEdit *field)
{
    return Money::parse(field->text());
}

QString AmountText(Money m)
{
    return NumberText(m.toDouble());
}

bool IsEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

PaymentEntry::PaymentEntry(Prompter &prompter, QWidget *parent)
    : QWidget(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("PaymentEntry"));
    QFont captionFont = font();
    captionFont.setPointSize(16);
    captionFont.setBold(true);
    QFont fieldFont = font();
    fieldFont.setPointSize(18);
    fieldFont.setBold(true);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(10);
    const auto addRow = [&](int row, const QString &caption, const QString &name) {
        auto *label = new QLabel(caption, this);
        label->setFont(captionFont);
        label->setStyleSheet(QStringLiteral("color: white"));
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setFont(fieldFont);
        edit->setMinimumWidth(220);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, Qt::AlignRight);
        grid->addWidget(edit, row, 1);
        edit->installEventFilter(this);
        return edit;
    };
    edt_PayMoney = addRow(0, QStringLiteral("应收金额"), QStringLiteral("edt_PayMoney"));
    edt_Cash = addRow(1, QStringLiteral("现金"), QStringLiteral("edt_Cash"));
    edt_Card = addRow(2, QStringLiteral("储值卡"), QStringLiteral("edt_Card"));
    edt_RealMoney = addRow(3, QStringLiteral("实收金额"), QStringLiteral("edt_RealMoney"));
    edt_PayZero = addRow(4, QStringLiteral("找零"), QStringLiteral("edt_PayZero"));
    edt_Cash->setMaxLength(9);
    edt_Card->setMaxLength(9);
    setTabOrder(edt_Cash, edt_Card);
    setTabOrder(edt_Card, edt_RealMoney);
    setTabOrder(edt_RealMoney, edt_PayZero);
    setTabOrder(edt_PayZero, edt_PayMoney);

    connect(edt_Cash, &QLineEdit::textChanged, this, &PaymentEntry::edt_CashChange);
    connect(edt_Card, &QLineEdit::textChanged, this, &PaymentEntry::edt_CardChange);
}

void PaymentEntry::setConfirmButton(QPushButton *button)
{
    m_confirm = button;
}

void PaymentEntry::Start(Money due, const QString &dueText, Money balance,
                         const QString &balanceText)
{
    m_due = due;
    m_balance = balance;
    m_balanceText = balanceText;
    const QSignalBlocker b1(edt_Cash), b2(edt_Card);
    edt_PayMoney->setText(dueText);
    edt_PayMoney->setReadOnly(true);
    for (QLineEdit *field : {edt_Cash, edt_Card, edt_RealMoney, edt_PayZero}) {
        field->setText(QStringLiteral("0"));
        field->selectAll();
    }
    edt_RealMoney->setReadOnly(true);
    edt_PayMoney->setStyleSheet(QStringLiteral("color: red"));
    edt_Cash->setStyleSheet(QStringLiteral("color: green"));
    edt_RealMoney->setStyleSheet(QStringLiteral("color: purple"));
    edt_PayZero->setStyleSheet(QStringLiteral("color: fuchsia"));
    const bool cardUsable = PaymentSplit{m_due, m_balance, {}, {}}.cardUsable();
    edt_Card->setEnabled(cardUsable);
    edt_Card->setStyleSheet(cardUsable ? QStringLiteral("color: blue; background-color: white")
                                       : QStringLiteral("color: gray; background-color: #d4d0c8"));
    if (m_confirm)
        m_confirm->setEnabled(false);
    edt_Cash->setFocus();
}

std::optional<PaymentSplit> PaymentEntry::Confirmed()
{
    const struct {
        QLineEdit *field;
        const char *caption;
    } parts[] = {{edt_Cash, "现金金额"}, {edt_Card, "储值卡金额"}};
    for (const auto &p : parts) {
        const QString text = p.field->text().trimmed();
        if (text.isEmpty() || Money::parse(text))
            continue;
        const QString caption = QString::fromUtf8(p.caption);
        m_prompter.information(Money::outOfRange(text) ? Money::OutOfRangeMessage(caption)
                                                       : caption + QStringLiteral("只能为数字!"));
        FocusAndSelect(p.field);
        return std::nullopt;
    }
    return PaymentSplit{m_due, m_balance, AmountOf(edt_Cash).value_or(Money()),
                        AmountOf(edt_Card).value_or(Money())};
}

QString PaymentEntry::cashText() const
{
    return edt_Cash->text().trimmed();
}

QString PaymentEntry::cardText() const
{
    return edt_Card->text().trimmed();
}

QString PaymentEntry::changeText() const
{
    return edt_PayZero->text().trimmed();
}

bool PaymentEntry::Recompute()
{
    const std::optional<Money> cash = AmountOf(edt_Cash);
    const std::optional<Money> card = AmountOf(edt_Card);
    if (!cash || !card)
        return false;
    const PaymentSplit split{m_due, m_balance, *cash, *card};
    edt_RealMoney->setText(AmountText(split.received()));
    edt_PayZero->setText(AmountText(split.change()));
    return true;
}

bool PaymentEntry::Covered() const
{
    const std::optional<Money> received = AmountOf(edt_RealMoney);
    return received && m_due <= *received;
}

void PaymentEntry::FocusAndSelect(QLineEdit *field)
{
    field->selectAll();
    field->setFocus();
}

void PaymentEntry::ConfirmReady()
{
    if (!m_confirm)
        return;
    m_confirm->setEnabled(true);
    m_confirm->setFocus();
}

void PaymentEntry::edt_CashChange()
{
    if (edt_Cash->text().trimmed().isEmpty()) {
        edt_Cash->setText(QStringLiteral("0"));
        edt_RealMoney->setText(QStringLiteral("0"));
        edt_PayZero->setText(QStringLiteral("0"));
        edt_Cash->selectAll();
        return;
    }
    const bool ok = Recompute() && Covered();
    if (m_confirm)
        m_confirm->setEnabled(ok);
}

void PaymentEntry::edt_CardChange()
{
    if (edt_Card->text().trimmed().isEmpty()) {
        edt_Card->setText(QStringLiteral("0"));
        edt_RealMoney->setText(QStringLiteral("0"));
        edt_PayZero->setText(QStringLiteral("0"));
        edt_Cash->selectAll();
    } else if ((!Recompute() || !Covered()) && m_confirm) {
        m_confirm->setEnabled(false);
    }
    if (Covered())
        ConfirmReady();
}

void PaymentEntry::edt_CardExit()
{
    Recompute();
    const std::optional<Money> card = AmountOf(edt_Card);
    if (!card)
        return;
    if (!PaymentSplit{m_due, m_balance, Money(), *card}.cardWithinLimits()) {
        m_prompter.information(
            CardLimitMessage(edt_Card->text(), m_balanceText, edt_PayMoney->text()));
        FocusAndSelect(edt_Card);
    }
}

void PaymentEntry::edt_RealMoneyExit()
{
    if (edt_RealMoney->text().isEmpty())
        return;
    if (const std::optional<Money> received = AmountOf(edt_RealMoney))
        edt_PayZero->setText(AmountText(*received - m_due));
}

void PaymentEntry::EnterCheck(QLineEdit *field)
{
    if (Covered()) {
        ConfirmReady();
        return;
    }
    if (field == edt_Cash) {
        m_prompter.information(QStringLiteral("收款方式中实收金额必须要大于等于应收金额!"));
        if (PaymentSplit{m_due, m_balance, {}, {}}.cardUsable())
            FocusAndSelect(edt_Cash);
        return;
    }
    m_prompter.information(QStringLiteral("收款方式中实收金额必须大于等于应收金额!"));
    if (field == edt_RealMoney && m_confirm)
        m_confirm->setEnabled(false);
    FocusAndSelect(edt_Cash);
}

bool PaymentEntry::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (IsEnter(key)) {
            if (field == edt_PayMoney)
                edt_Cash->setFocus();
            else if (field == edt_PayZero && m_confirm)
                m_confirm->click();
            else
                EnterCheck(field);
            return true;
        }
        if (field == edt_Cash || field == edt_Card) {
            const QString typed = key->text();
            if (typed.size() == 1 && typed.at(0).isPrint() &&
                !AcceptsAmountKey(field->text(), typed.at(0)))
                return true;
            if (field == edt_Card && Covered())
                ConfirmReady();
        }
    } else if (event->type() == QEvent::FocusIn && (field == edt_Cash || field == edt_Card)) {
        // The whole amount is selected on entry, so that typing replaces it
        // (also after a click, which places the cursor first).
        field->selectAll();
        QTimer::singleShot(0, field, [field] {
            if (field->hasFocus())
                field->selectAll();
        });
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            isVisible()) {
            // The check runs once the focus has settled: its message and its
            // return of the focus must not happen inside the focus change.
            if (field == edt_Card)
                QTimer::singleShot(0, this, [this] {
                    if (isVisible())
                        edt_CardExit();
                });
            else if (field == edt_RealMoney)
                edt_RealMoneyExit();
        }
    }
    return QWidget::eventFilter(watched, event);
}
