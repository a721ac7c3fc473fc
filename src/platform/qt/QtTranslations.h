#pragma once

// Loads Qt's own Chinese translations, so that the standard dialogs (file
// and folder choosers, their buttons, context menus of edit boxes) speak
// Chinese like the rest of the program. False when they are not installed.
bool InstallQtTranslations();
