#pragma once

#include <QObject>

// Tells open windows that an operation elsewhere changed what they show:
// the window that ran the operation emits, lists and views that show the
// same data refresh themselves.
class ChangeNotices : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // A member's row changed: stored value, points, spending or fields.
    // 0 when members were added or removed.
    void memberChanged(int memberId);
    // Sales (or returns) were written.
    void salesChanged();
};
