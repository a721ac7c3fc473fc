#include "widgets/NavigatorBarWidget.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

namespace
{

struct ButtonLook {
    NavigatorBar::Button which;
    const char *name;
    const char *caption;
    const char *tip;
    QStyle::StandardPixmap icon; // the Icons look of a move
};

const ButtonLook Looks[] = {
    {NavigatorBar::First, "nbFirst", "首条", "第一条", QStyle::SP_MediaSkipBackward},
    {NavigatorBar::Prior, "nbPrior", "上条", "上一条", QStyle::SP_MediaSeekBackward},
    {NavigatorBar::Next, "nbNext", "下条", "下一条", QStyle::SP_MediaSeekForward},
    {NavigatorBar::Last, "nbLast", "末条", "最后一条", QStyle::SP_MediaSkipForward},
    {NavigatorBar::Insert, "nbInsert", "插入", "插入新记录", QStyle::SP_CustomBase},
    {NavigatorBar::Edit, "nbEdit", "编辑", "编辑当前记录", QStyle::SP_CustomBase},
    {NavigatorBar::Post, "nbPost", "保存", "保存修改", QStyle::SP_CustomBase},
    {NavigatorBar::Cancel, "nbCancel", "取消", "取消修改", QStyle::SP_CustomBase},
    {NavigatorBar::Refresh, "nbRefresh", "刷新", "重新读取", QStyle::SP_CustomBase},
};

// The column the current cell keeps on a move: the current one when it is
// shown, else the leftmost shown column.
int columnFor(QAbstractItemView *view)
{
    const int current = view->currentIndex().column();
    auto *table = qobject_cast<QTableView *>(view);
    if (!table)
        return std::max(current, 0);
    if (current >= 0 && !table->isColumnHidden(current))
        return current;
    const QHeaderView *header = table->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!table->isColumnHidden(logical))
            return logical;
    }
    return 0;
}

} // namespace

NavigatorBar::NavigatorBar(Buttons buttons, Look look, QWidget *parent) : QWidget(parent)
{
    auto *bar = new QHBoxLayout(this);
    bar->setContentsMargins(0, 0, 0, 0);
    if (look == Look::Captions)
        bar->setSpacing(2);
    for (const ButtonLook &b : Looks) {
        if (!buttons.testFlag(b.which))
            continue;
        auto *button = new QToolButton(this);
        button->setObjectName(QLatin1String(b.name));
        button->setToolTip(QString::fromUtf8(b.tip));
        if (look == Look::Icons && b.icon != QStyle::SP_CustomBase) {
            button->setIcon(style()->standardIcon(b.icon));
        } else {
            button->setText(QString::fromUtf8(b.caption));
            if (look == Look::Captions)
                button->setMinimumSize(44, 26);
        }
        bar->addWidget(button);
        m_buttons.insert(b.which, button);
    }

    const auto clicked = [this](Button which, auto action) {
        if (QToolButton *b = button(which))
            connect(b, &QToolButton::clicked, this, action);
    };
    clicked(First, [this] { moveFirst(); });
    clicked(Prior, [this] { movePrior(); });
    clicked(Next, [this] { moveNext(); });
    clicked(Last, [this] { moveLast(); });
    clicked(Insert, [this] { emit insertClicked(); });
    clicked(Edit, [this] { emit editClicked(); });
    clicked(Post, [this] { emit postClicked(); });
    clicked(Cancel, [this] { emit cancelClicked(); });
    clicked(Refresh, [this] { emit refreshClicked(); });
    updateButtons();
}

QToolButton *NavigatorBar::button(Button which) const
{
    return m_buttons.value(which, nullptr);
}

void NavigatorBar::setView(QAbstractItemView *view)
{
    for (const QMetaObject::Connection &c : std::as_const(m_watch))
        disconnect(c);
    m_watch.clear();
    m_view = view;
    if (view) {
        const auto update = [this] { updateButtons(); };
        if (QItemSelectionModel *selection = view->selectionModel())
            m_watch << connect(selection, &QItemSelectionModel::currentChanged, this, update);
        if (QAbstractItemModel *model = view->model()) {
            m_watch << connect(model, &QAbstractItemModel::modelReset, this, update);
            m_watch << connect(model, &QAbstractItemModel::rowsInserted, this, update);
            m_watch << connect(model, &QAbstractItemModel::rowsRemoved, this, update);
            m_watch << connect(model, &QAbstractItemModel::layoutChanged, this, update);
        }
    }
    updateButtons();
}

void NavigatorBar::updateButtons()
{
    QAbstractItemModel *model = m_view ? m_view->model() : nullptr;
    const int row = model ? m_view->currentIndex().row() : -1;
    const int count = model ? model->rowCount() : 0;
    const bool back = row > 0;
    const bool forward = row >= 0 && (row < count - 1 || model->canFetchMore(QModelIndex()));
    for (auto [which, enabled] : {std::pair{First, back}, std::pair{Prior, back},
                                  std::pair{Next, forward}, std::pair{Last, forward}}) {
        if (QToolButton *b = button(which))
            b->setEnabled(enabled);
    }
}

void NavigatorBar::moveFirst()
{
    move(Target::First);
}

void NavigatorBar::movePrior()
{
    move(Target::Prior);
}

void NavigatorBar::moveNext()
{
    move(Target::Next);
}

void NavigatorBar::moveLast()
{
    move(Target::Last);
}

void NavigatorBar::move(Target target)
{
    if (!m_view || !m_view->model())
        return;
    if (m_beforeMove && !m_beforeMove())
        return;
    QAbstractItemModel *model = m_view->model();
    const int current = m_view->currentIndex().row();
    switch (target) {
    case Target::First:
        goTo(0);
        break;
    case Target::Prior:
        goTo(current - 1);
        break;
    case Target::Next:
        goTo(current + 1);
        break;
    case Target::Last:
        while (model->canFetchMore(QModelIndex()))
            model->fetchMore(QModelIndex());
        goTo(model->rowCount() - 1);
        break;
    }
}

void NavigatorBar::goTo(int row)
{
    QAbstractItemModel *model = m_view->model();
    if (row < 0)
        return;
    while (row >= model->rowCount() && model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    if (row >= model->rowCount())
        return;
    const QModelIndex cell = model->index(row, columnFor(m_view));
    m_view->setCurrentIndex(cell);
    m_view->scrollTo(cell);
    updateButtons();
    emit moved(row);
}
