// memberpos: the membership-card and point-of-sale program.

#include "context/AppContext.h"
#include "context/AppInfo.h"
#include "app/TLoginForm.h"
#include "app/TMain.h"
#include "app/TSplashForm.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtTranslations.h"
#include "platform/qt/QtUrlOpener.h"

#include <QApplication>
#include <QFontDatabase>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("memberpos"));
    QApplication::setApplicationDisplayName(AppInfo::ShortTitle);
    QApplication::setQuitOnLastWindowClosed(false);
    InstallQtTranslations();
    for (const char *family : {"WenQuanYi Micro Hei", "Noto Sans CJK SC"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            QFont f(QString::fromLatin1(family));
            f.setPointSize(10);
            QApplication::setFont(f);
            break;
        }
    }

    Database db;
    Session session;
    QtPrompter prompter;
    SystemClock clock;
    QtFileDialogs files;
    QtUrlOpener urls;
    AppContext ctx{db, session, prompter, clock, files, urls};

    TSplashForm splash;
    TMain mainWindow(ctx);
    TLoginForm login(ctx);

    const auto quit = [](int code) { QApplication::exit(code); };
    QObject::connect(&splash, &TSplashForm::finished, &login, &TLoginForm::show);
    QObject::connect(&login, &TLoginForm::loggedIn, &mainWindow, &TMain::ShowMain);
    QObject::connect(&login, &TLoginForm::quitRequested, &app, quit);
    QObject::connect(&mainWindow, &TMain::quitRequested, &app, quit);

    splash.show();
    return QApplication::exec();
}
