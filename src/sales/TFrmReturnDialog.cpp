#include "sales/TFrmReturnDialog.h"

#include "data/TextRules.h"
#include "platform/Prompter.h"
#include "widgets/FormWidget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmReturnDialog::TFrmReturnDialog(Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_prompter(prompter)
{
    setObjectName(QStringLiteral("TFrmReturnDialog"));
    setWindowTitle(QStringLiteral("退货提示"));
    setModal(true);
    setStyleSheet(QStringLiteral("#TFrmReturnDialog { border: 2px solid #3c3c3c; }"));

    const auto box = [this](const char *name) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(9);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->installEventFilter(this);
        return edit;
    };
    edtPayMoney = box("edtPayMoney");
    edtPayMoney->setReadOnly(true);
    edt_Cash = box("edt_Cash");
    edt_Card = box("edt_Card");
    btnOk = new QPushButton(QStringLiteral("确定"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setAutoDefault(false);
    btnClose = new QPushButton(QStringLiteral("关闭"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("应退金额："), this), 0, 0, Qt::AlignRight);
    grid->addWidget(edtPayMoney, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("现金"), this), 1, 0, Qt::AlignRight);
    grid->addWidget(edt_Cash, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("储值卡"), this), 2, 0, Qt::AlignRight);
    grid->addWidget(edt_Card, 2, 1);
    auto *note =
        new QLabel(QStringLiteral("注：1、录入现金和储值卡金额不能大于消费时现金和储值卡金额。"
                                  "2  、录入的现金和储值卡金额之和不能大于应退金额。"),
                   this);
    note->setWordWrap(true);
    note->setMaximumWidth(320);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 14);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOk, &QPushButton::clicked, this, &TFrmReturnDialog::btnOkClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<SaleReturn::Split> TFrmReturnDialog::AskSplit(const SaleReturn::Plan &plan)
{
    m_plan = plan;
    m_split.reset();
    edtPayMoney->setText(NumberText(plan.amount.toDouble()));
    edt_Cash->setText(NumberText(plan.saleCash.toDouble()));
    edt_Card->setText(NumberText(plan.saleCard.toDouble()));
    edt_Cash->selectAll();
    edt_Cash->setFocus();
    exec();
    return m_split;
}

void TFrmReturnDialog::btnOkClick()
{
    SaleReturn::Split split;
    const struct {
        QLineEdit *box;
        const char *caption;
        Money *into;
    } parts[] = {{edt_Cash, "现金金额", &split.cash}, {edt_Card, "储值卡金额", &split.card}};
    for (const auto &p : parts) {
        const QString text = p.box->text().trimmed();
        const std::optional<Money> amount =
            Money::parse(text.isEmpty() ? QStringLiteral("0") : text);
        if (!amount) {
            const QString caption = QString::fromUtf8(p.caption);
            ShowRefusal(m_prompter, this,
                        {Money::outOfRange(text) ? Money::OutOfRangeMessage(caption)
                                                 : caption + QStringLiteral("只能为数字!"),
                         p.box->objectName()});
            return;
        }
        *p.into = *amount;
    }
    if (const std::optional<Refusal> refusal = SaleReturn::CheckSplit(m_plan, split)) {
        ShowRefusal(m_prompter, this, *refusal);
        return;
    }
    m_split = split;
    accept();
}

bool TFrmReturnDialog::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (event->type() == QEvent::KeyPress && box && !box->isReadOnly()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (box == edt_Cash)
                edt_Card->setFocus();
            else
                btnOkClick();
            return true;
        }
        const QString typed = key->text();
        if (typed.size() == 1 && typed.at(0).isPrint() &&
            !AcceptsAmountKey(box->text(), typed.at(0)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
