#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>

class QAbstractItemView;
class QToolButton;

// The record navigator under or over a list: first, prior, next and last
// move the current row of a grid (a DataGridWidget or any item view); the
// editing buttons (insert, edit, post, cancel, refresh) only say that they
// were clicked, the page that owns the rows does the work. Which buttons the
// bar has is fixed when it is made; they keep the names nbFirst, nbPrior,
// nbNext, nbLast, nbInsert, nbEdit, nbPost, nbCancel and nbRefresh, in that
// order. Moves fetch the rows a lazy model has not fetched yet, and the
// buttons that cannot move from the current row are disabled.
class NavigatorBar : public QWidget
{
    Q_OBJECT
public:
    enum Button {
        First = 0x1,
        Prior = 0x2,
        Next = 0x4,
        Last = 0x8,
        Insert = 0x10,
        Edit = 0x20,
        Post = 0x40,
        Cancel = 0x80,
        Refresh = 0x100,
    };
    Q_DECLARE_FLAGS(Buttons, Button)

    // Icons: the moves as arrow icons, any editing button by its caption
    // (the read-only lists). Captions: every button by a short caption
    // (首条, 上条, ...; the editing lists). Either way each button's tool tip
    // says what it does.
    enum class Look { Icons, Captions };

    explicit NavigatorBar(Buttons buttons, Look look = Look::Icons, QWidget *parent = nullptr);

    // The grid the moves work on. Call again after the view is given
    // another model, so that the buttons follow it.
    void setView(QAbstractItemView *view);
    QAbstractItemView *view() const { return m_view; }
    // The button, or nullptr when the bar has none of that kind.
    QToolButton *button(Button which) const;

    // Called before every move; the move is made only when it returns true
    // (an editing list saves the row being typed first).
    void setBeforeMove(std::function<bool()> hook) { m_beforeMove = std::move(hook); }

    // The moves the buttons make; each does nothing when there is no row
    // to go to.
    void moveFirst();
    void movePrior();
    void moveNext();
    void moveLast();
    // Enables the moves that can be made from the current row.
    void updateButtons();

signals:
    void insertClicked();
    void editClicked();
    void postClicked();
    void cancelClicked();
    void refreshClicked();
    // The current row after a move.
    void moved(int row);

private:
    enum class Target { First, Prior, Next, Last };
    void move(Target target);
    void goTo(int row);

    QPointer<QAbstractItemView> m_view;
    QList<QMetaObject::Connection> m_watch;
    QHash<int, QToolButton *> m_buttons;
    std::function<bool()> m_beforeMove;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(NavigatorBar::Buttons)

// The four moves: a read-only list's navigator.
inline constexpr NavigatorBar::Buttons NavigatorMoves =
    NavigatorBar::First | NavigatorBar::Prior | NavigatorBar::Next | NavigatorBar::Last;
// The moves and the editing buttons, without delete: an editing list's navigator.
inline constexpr NavigatorBar::Buttons NavigatorEditing =
    NavigatorMoves | NavigatorBar::Insert | NavigatorBar::Edit | NavigatorBar::Post |
    NavigatorBar::Cancel | NavigatorBar::Refresh;
