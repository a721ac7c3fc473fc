#pragma once

#include "context/AppContext.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// "备份数据库": copies the open database into a chosen folder under a name
// made of the current date and time. Shown modeless from the main window.
class TFrmBackupDatabase : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmBackupDatabase(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *edt_BackupPath;   // read-only: the folder
    QLineEdit *edt_BackupDBName; // read-only: the file name
    QPushButton *BtnBrowse;
    QPushButton *btnOk;
    QPushButton *btnClose;

    // The current directory and a fresh time-stamped name; focus on 浏览.
    void ResetBackupFields();
    void BtnBrowseClick();
    void btnOkClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext &m_ctx;
};
