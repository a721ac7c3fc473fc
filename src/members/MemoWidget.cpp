#include "members/MemoWidget.h"

#include <QTextCursor>

MemoWidget::MemoWidget(int maxLength, QWidget *parent)
    : QPlainTextEdit(parent), m_maxLength(maxLength)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &MemoWidget::enforceLimit);
}

void MemoWidget::enforceLimit()
{
    const QString text = toPlainText();
    if (text.size() <= m_maxLength)
        return;
    const QSignalBlocker block(this);
    setPlainText(text.left(m_maxLength));
    moveCursor(QTextCursor::End);
}
