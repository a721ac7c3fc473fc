#pragma once

#include "context/ChangeNotices.h"
#include "context/Session.h"
#include "data/Database.h"
#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/Prompter.h"
#include "platform/UrlOpener.h"

#include <utility>

class ReceiptOutput;

// Everything a window needs from outside itself. One per run; tests build
// their own with scripted platform parts.
struct AppContext {
    AppContext(Database &db, Session &session, Prompter &prompter, Clock &clock, FileDialogs &files,
               UrlOpener &urls)
        : db(db), session(session), prompter(prompter), clock(clock), files(files), urls(urls)
    {
    }

    Database &db;
    Session &session;
    Prompter &prompter;
    Clock &clock;
    FileDialogs &files;
    UrlOpener &urls;
    // Where receipts go; nullptr prints on the system's default printer.
    ReceiptOutput *receiptOutput = nullptr;
    // What changed through the windows, for the other open windows.
    ChangeNotices notices;
};

// Runs one handler's database work. A failing statement is shown as an
// error and ends the handler; false tells the caller it failed.
template <typename F> bool Guarded(Prompter &prompter, F &&work)
{
    try {
        std::forward<F>(work)();
        return true;
    } catch (const DbError &e) {
        prompter.error(e.text());
        return false;
    }
}
