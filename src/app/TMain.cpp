#include "app/TMain.h"

#include "app/TAboutUS.h"
#include "app/TModiPwdForm.h"
#include "backup/TFrmBackupDatabase.h"
#include "context/AppInfo.h"
#include "members/TCreateCard.h"
#include "members/TMemberForm.h"
#include "members/TModiMemberInfo.h"
#include "members/TViewForm.h"
#include "products/TFPro2.h"
#include "reports/TFTongji.h"
#include "sales/TFrmSaleReturn.h"
#include "sales/TSale3Form.h"
#include "sales/TSaleForm.h"
#include "settings/TOptionForm.h"
#include "wallet/TAddMoney_Frm.h"
#include "wallet/TCashForm.h"
#include "widgets/FormWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace
{

// The background: a calm gradient with the title.
class Background : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(228, 238, 246));
        g.setColorAt(1, QColor(176, 204, 226));
        p.fillRect(rect(), g);
        QFont f = font();
        f.setPixelSize(36);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(40, 90, 140, 110));
        p.drawText(rect(), Qt::AlignCenter, AppInfo::AppTitle);
    }
};

// The window kept in `slot` for the whole run, made on first use.
template <typename Window, typename... Args> Window *Kept(Window *&slot, Args &&...args)
{
    if (!slot)
        slot = new Window(std::forward<Args>(args)...);
    return slot;
}

// Shows a modeless window, or brings it to the front when it is open.
void ShowInFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

TMain::TMain(AppContext &ctx, QWidget *parent) : QMainWindow(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TMain"));
    setWindowTitle(AppInfo::AppTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    auto *Image1 = new Background(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    setCentralWidget(Image1);
    buildToolBar();
    buildMenu();
    buildStatusBar();
}

TMain::~TMain() = default;

QToolButton *TMain::addButton(const QString &name, const QString &caption, const QColor &color)
{
    auto *bar = findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    auto *button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(QIcon(TilePicture(40, caption.left(1), color, color)));
    button->setIconSize(QSize(36, 36));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setMinimumSize(62, 66);
    button->setAutoRaise(true);
    // The tool bar hides and shows the action that holds the widget.
    QAction *holder = bar->addWidget(button);
    holder->setObjectName(name + QStringLiteral("Action"));
    return button;
}

void TMain::buildToolBar()
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(36, 36));
    addToolBar(Qt::TopToolBarArea, bar);
    bar->addSeparator();

    const QColor sale(214, 96, 60), member(58, 130, 190), money(70, 160, 90), admin(120, 110, 170);
    BtnCreateMemCard =
        addButton(QStringLiteral("BtnCreateMemCard"), QStringLiteral("建卡"), member);
    BtnConsume = addButton(QStringLiteral("BtnConsume"), QStringLiteral("消费"), sale);
    btnSaleReturn = addButton(QStringLiteral("btnSaleReturn"), QStringLiteral("退货"), sale);
    BtnQuery = addButton(QStringLiteral("BtnQuery"), QStringLiteral("查询"), member);
    BitBtn1 = addButton(QStringLiteral("BitBtn1"), QStringLiteral("会员"), member);
    BtnAdd = addButton(QStringLiteral("BtnAdd"), QStringLiteral("充值"), money);
    BtnDuiFen = addButton(QStringLiteral("BtnDuiFen"), QStringLiteral("兑分"), money);
    BtnProducts = addButton(QStringLiteral("BtnProducts"), QStringLiteral("产品"), sale);
    BtnStatistics = addButton(QStringLiteral("BtnStatistics"), QStringLiteral("统计"), money);
    BtnSetting = addButton(QStringLiteral("BtnSetting"), QStringLiteral("设置"), admin);
    btnBackup = addButton(QStringLiteral("btnBackup"), QStringLiteral("备份"), admin);
    BtnModiPwd = addButton(QStringLiteral("BtnModiPwd"), QStringLiteral("修改密码"), admin);
    BtnLocked = addButton(QStringLiteral("BtnLocked"), QStringLiteral("计次卡"), money);
    BtnPublish = addButton(QStringLiteral("BtnPublish"), QStringLiteral("发布信息"), admin);
    BtnAbout = addButton(QStringLiteral("BtnAbout"), QStringLiteral("关于"), admin);
    BtnExit = addButton(QStringLiteral("BtnExit"), QStringLiteral("退出"), QColor(150, 150, 150));

    connect(BtnCreateMemCard, &QToolButton::clicked, this, &TMain::BtnCreateMemCardClick);
    connect(BtnConsume, &QToolButton::clicked, this, &TMain::BtnConsumeClick);
    connect(btnSaleReturn, &QToolButton::clicked, this, &TMain::btnSaleReturnClick);
    connect(BtnQuery, &QToolButton::clicked, this, &TMain::BtnQueryClick);
    connect(BitBtn1, &QToolButton::clicked, this, &TMain::BitBtn1Click);
    connect(BtnAdd, &QToolButton::clicked, this, [this] { BtnAddClick(true); });
    connect(BtnDuiFen, &QToolButton::clicked, this, &TMain::BtnDuiFenClick);
    connect(BtnProducts, &QToolButton::clicked, this, &TMain::BtnProductsClick);
    connect(BtnStatistics, &QToolButton::clicked, this, &TMain::BtnStatisticsClick);
    connect(BtnSetting, &QToolButton::clicked, this, &TMain::BtnSettingClick);
    connect(btnBackup, &QToolButton::clicked, this, &TMain::btnBackupClick);
    connect(BtnModiPwd, &QToolButton::clicked, this, &TMain::BtnModiPwdClick);
    connect(BtnAbout, &QToolButton::clicked, this, &TMain::BtnAboutClick);
    connect(BtnExit, &QToolButton::clicked, this, &TMain::close);
    connect(BtnLocked, &QToolButton::clicked, this, &TMain::BtnLockedClick);
}

QAction *TMain::addMenuItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    action->setObjectName(name);
    return action;
}

void TMain::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto item = [this](const QString &name, const QString &caption, auto slot) {
        QAction *a = addMenuItem(nullptr, name, caption);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    item(QStringLiteral("MnuCreateMemCard"), QStringLiteral("【建卡】"),
         &TMain::BtnCreateMemCardClick);
    item(QStringLiteral("MnuConsume"), QStringLiteral("【消费】"), &TMain::BtnConsumeClick);
    item(QStringLiteral("v1"), QStringLiteral("【退货】"), &TMain::btnSaleReturnClick);
    item(QStringLiteral("MnuQuery"), QStringLiteral("【查询】"), &TMain::BtnQueryClick);
    item(QStringLiteral("MnuMember"), QStringLiteral("【会员】"), &TMain::BitBtn1Click);
    QAction *n1 = addMenuItem(nullptr, QStringLiteral("N1"), QStringLiteral("【充值】"));
    connect(n1, &QAction::triggered, this, [this] { BtnAddClick(false); });
    item(QStringLiteral("MnuDuiFen"), QStringLiteral("【兑分】"), &TMain::BtnDuiFenClick);

    auto *N6 = new QMenu(QStringLiteral("【计次卡】"), bar);
    N6->setObjectName(QStringLiteral("N6"));
    N6->menuAction()->setObjectName(QStringLiteral("N6Action"));
    const QList<QPair<QString, QString>> countItems = {
        {QStringLiteral("N7"), QStringLiteral("计次项目定义")},
        {QStringLiteral("N8"), QStringLiteral("计次卡充次")},
        {QStringLiteral("N9"), QStringLiteral("计次卡消费")},
        {QString(), QString()},
        {QStringLiteral("N11"), QStringLiteral("计次信息查询")},
        {QStringLiteral("N12"), QStringLiteral("计次信息统计")},
        {QString(), QString()},
        {QStringLiteral("N14"), QStringLiteral("计次卡退次")},
    };
    for (const auto &[name, caption] : countItems) {
        if (name.isEmpty()) {
            N6->addSeparator();
            continue;
        }
        QAction *a = addMenuItem(N6, name, caption);
        connect(a, &QAction::triggered, this, [this, name = name] { CountCardCommand(name); });
    }
    bar->addMenu(N6);

    item(QStringLiteral("MnuProducts"), QStringLiteral("【产品】"), &TMain::BtnProductsClick);
    item(QStringLiteral("MnuStatistics"), QStringLiteral("【统计】"), &TMain::BtnStatisticsClick);
    item(QStringLiteral("MnuSetting"), QStringLiteral("【设置】"), &TMain::BtnSettingClick);
    item(QStringLiteral("MnuModiPwd"), QStringLiteral("【修改密码】"), &TMain::BtnModiPwdClick);

    auto *about = new QMenu(QStringLiteral("【关于】"), bar);
    about->setObjectName(QStringLiteral("MnuAbout"));
    QAction *n2 = addMenuItem(about, QStringLiteral("N2"), QStringLiteral("【发布信息】"));
    connect(n2, &QAction::triggered, this, [this] { OpenWebPage(AppInfo::PublishUrl); });
    QAction *n3 = addMenuItem(about, QStringLiteral("N3"), QStringLiteral("【升级信息】"));
    connect(n3, &QAction::triggered, this, [this] { OpenWebPage(AppInfo::UpgradeUrl); });
    about->addSeparator();
    QAction *n5 = addMenuItem(about, QStringLiteral("N5"), QStringLiteral("【关于】"));
    connect(n5, &QAction::triggered, this, &TMain::BtnAboutClick);
    bar->addMenu(about);

    QAction *exit = addMenuItem(nullptr, QStringLiteral("MnuExit"), QStringLiteral("【退出】"));
    connect(exit, &QAction::triggered, this, &TMain::close);
}

void TMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    const int widths[] = {50, 500, 200, 50};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        panel->setMinimumWidth(widths[i]);
        bar->addWidget(panel);
        if (i == 1)
            StatusPanel2 = panel;
    }
}

void TMain::ShowMain()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(screen.width(), std::max(400, screen.height() - 30));
    move(screen.left(), screen.top());
    StatusPanel2->setText(AppInfo::StatusText);
    setWindowTitle(AppInfo::AppTitle);
    if (AppInfo::PublishFlag == QLatin1String("0"))
        findChild<QAction *>(QStringLiteral("BtnPublishAction"))->setVisible(false);
    show();
    raise();
    activateWindow();
}

void TMain::notAvailable(const QString &caption)
{
    m_ctx.prompter.information(
        QStringLiteral("“%1”功能正在完善中，将在后续版本中提供。").arg(caption));
}

void TMain::BtnCreateMemCardClick()
{
    ShowInFront(Kept(m_createCard, m_ctx, this));
}

void TMain::BtnConsumeClick()
{
    switch (SaleScreenFor(m_ctx.session.settings.SaoMaYes)) {
    case SaleScreen::Scan:
        connect(Kept(m_sale3Form, m_ctx, this), &TSaleScreen::consumptionHistoryRequested, this,
                &TMain::ShowConsumptionHistory, Qt::UniqueConnection);
        m_sale3Form->exec();
        break;
    case SaleScreen::Retail:
        notAvailable(QStringLiteral("零售录单"));
        break;
    case SaleScreen::External:
        notAvailable(QStringLiteral("第三方前台消费"));
        break;
    case SaleScreen::Standard:
        connect(Kept(m_saleForm, m_ctx, this), &TSaleScreen::consumptionHistoryRequested, this,
                &TMain::ShowConsumptionHistory, Qt::UniqueConnection);
        ShowInFront(m_saleForm);
        break;
    }
}

void TMain::btnSaleReturnClick()
{
    ShowInFront(Kept(m_saleReturn, m_ctx, this));
}
TModiMemberInfo *TMain::memberEditor()
{
    return Kept(m_modiMemberInfo, m_ctx, this);
}

TViewForm *TMain::viewForm(Qt::WindowModality modality)
{
    Kept(m_viewForm, m_ctx, this, memberEditor());
    // Asked for from a modal sale screen, the query must be modal too, or that
    // screen would block it; from anywhere else it is modeless.
    if (m_viewForm->windowModality() != modality) {
        m_viewForm->hide();
        m_viewForm->setWindowModality(modality);
    }
    return m_viewForm;
}

void TMain::BtnQueryClick()
{
    ShowInFront(viewForm(Qt::NonModal));
}

void TMain::ShowConsumptionHistory(const QString &card)
{
    const bool overModal = QApplication::activeModalWidget() != nullptr;
    viewForm(overModal ? Qt::ApplicationModal : Qt::NonModal)->ShowForCard(card);
}

void TMain::BitBtn1Click()
{
    Kept(m_memberForm, m_ctx, this, memberEditor())->exec();
}
void TMain::BtnAddClick(bool modal)
{
    // The tool bar's 充值 waits for the window; the menu's leaves the main
    // window usable.
    TAddMoney_Frm *form = Kept(m_addMoneyForm, m_ctx, this);
    if (!modal) {
        ShowInFront(form);
        return;
    }
    form->hide(); // open modeless from the menu: it comes back modal
    form->exec();
}

void TMain::BtnDuiFenClick()
{
    CloseMemberForms();
    ShowInFront(Kept(m_cashForm, m_ctx, this));
}

void TMain::BtnProductsClick()
{
    Check refusal;
    if (!Guarded(m_ctx.prompter, [&] { refusal = ProductsRefusal(m_ctx.db); }))
        return;
    if (refusal) {
        m_ctx.prompter.information(refusal->message);
        return;
    }
    // A fresh catalogue window for every opening.
    TFPro2 form(m_ctx, this);
    form.exec();
}

void TMain::BtnStatisticsClick()
{
    // A fresh statistics window for every opening.
    TFTongji form(m_ctx, this);
    form.exec();
}

void TMain::BtnSettingClick()
{
    if (const Check refusal = SettingsRefusal(m_ctx.session.login)) {
        m_ctx.prompter.information(refusal->message);
        return;
    }
    Kept(m_optionForm, m_ctx, this)->exec();
}

void TMain::btnBackupClick()
{
    ShowInFront(Kept(m_backupForm, m_ctx, this));
}
void TMain::BtnModiPwdClick()
{
    // A fresh dialog for every opening; a changed password ends the program
    // so that the operator logs in again.
    TModiPwdForm dialog(m_ctx, this);
    connect(&dialog, &TModiPwdForm::passwordChanged, this, [this] {
        m_quitting = true;
        emit quitRequested(0);
    });
    dialog.exec();
}
void TMain::BtnAboutClick()
{
    TAboutUS dialog(this);
    dialog.exec();
}
void TMain::BtnLockedClick()
{
    notAvailable(QStringLiteral("计次卡"));
}

void TMain::CountCardCommand(const QString &item)
{
    auto *action = findChild<QAction *>(item);
    notAvailable(action ? action->text() : item);
}

void TMain::OpenWebPage(const QString &url)
{
    m_ctx.urls.open(url);
}

void TMain::CloseMemberForms()
{
    for (QWidget *window : std::initializer_list<QWidget *>{m_createCard, m_saleForm, m_memberForm,
                                                            m_modiMemberInfo, m_viewForm}) {
        if (window)
            window->close();
    }
}

void TMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!m_quitting) {
        m_quitting = true;
        emit quitRequested(0);
    }
}
