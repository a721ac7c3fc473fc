#pragma once

#include <QDialog>

class QLabel;

// "关于我们": the program's title and version and the maker's lines.
class TAboutUS : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutUS(QWidget *parent = nullptr);

    QLabel *Image1;
    QLabel *Label1;                   // the program's title
    QLabel *Label2;                   // edition and version
    QLabel *Label3;                   // the maker
    QLabel *Label4, *Label5, *Label6; // contact lines

    // Fills the labels; the contact lines show only with a greeting text
    // (the main window's StatusText).
    void ShowInfo(const QString &statusText);

protected:
    void showEvent(QShowEvent *event) override;
};
