#pragma once

#include <QPlainTextEdit>

// A multi-line remark box holding at most a given number of characters,
// like the single-line boxes' maximum length.
class MemoWidget : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit MemoWidget(int maxLength, QWidget *parent = nullptr);
    int maxLength() const { return m_maxLength; }

private:
    void enforceLimit();

    int m_maxLength;
};
