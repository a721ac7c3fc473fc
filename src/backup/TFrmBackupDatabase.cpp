#include "backup/TFrmBackupDatabase.h"

#include "backup/DatabaseBackup.h"
#include "widgets/FormWidget.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFrmBackupDatabase::TFrmBackupDatabase(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("TFrmBackupDatabase"));
    setWindowTitle(QStringLiteral("备份数据库"));

    auto *group = new QGroupBox(QStringLiteral("  备 份  "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *pathLabel = new QLabel(QStringLiteral("请指定备份路径："), group);
    edt_BackupPath = new QLineEdit(group);
    edt_BackupPath->setObjectName(QStringLiteral("edt_BackupPath"));
    edt_BackupPath->setReadOnly(true);
    edt_BackupPath->setMinimumWidth(300);
    BtnBrowse = new QPushButton(QStringLiteral(" 浏览 "), group);
    BtnBrowse->setObjectName(QStringLiteral("BtnBrowse"));
    BtnBrowse->setAutoDefault(false);
    auto *nameLabel = new QLabel(QStringLiteral("请指定备份文件名："), group);
    edt_BackupDBName = new QLineEdit(group);
    edt_BackupDBName->setObjectName(QStringLiteral("edt_BackupDBName"));
    edt_BackupDBName->setReadOnly(true);

    auto *fields = new QGridLayout(group);
    fields->setContentsMargins(16, 18, 16, 16);
    fields->setVerticalSpacing(6);
    fields->addWidget(pathLabel, 0, 0, 1, 2);
    fields->addWidget(edt_BackupPath, 1, 0);
    fields->addWidget(BtnBrowse, 1, 1);
    fields->addItem(new QSpacerItem(0, 8), 2, 0);
    fields->addWidget(nameLabel, 3, 0, 1, 2);
    fields->addWidget(edt_BackupDBName, 4, 0);

    btnOk = new QPushButton(QStringLiteral(" 开始备份(&S) "), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnClose = new QPushButton(QStringLiteral("  关  闭 (&C) "), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton *b : {btnOk, btnClose}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addSpacing(20);
    buttons->addWidget(btnClose);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(14);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(BtnBrowse, &QPushButton::clicked, this, &TFrmBackupDatabase::BtnBrowseClick);
    connect(btnOk, &QPushButton::clicked, this, &TFrmBackupDatabase::btnOkClick);
    connect(btnClose, &QPushButton::clicked, this, &TFrmBackupDatabase::close);
}

void TFrmBackupDatabase::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ResetBackupFields();
}

void TFrmBackupDatabase::ResetBackupFields()
{
    edt_BackupPath->setText(QDir::toNativeSeparators(QDir::currentPath()));
    edt_BackupDBName->setText(DatabaseBackup::DefaultFileName(m_ctx.clock.now()));
    BtnBrowse->setFocus();
}

void TFrmBackupDatabase::BtnBrowseClick()
{
    const std::optional<QString> folder = m_ctx.files.folder(
        QStringLiteral("请指定备份文件要存到的文件夹:"), edt_BackupPath->text().trimmed());
    if (folder)
        edt_BackupPath->setText(*folder);
}

void TFrmBackupDatabase::btnOkClick()
{
    const QString folder = edt_BackupPath->text().trimmed();
    const QString name = edt_BackupDBName->text().trimmed();
    if (const Check refusal = DatabaseBackup::Validate(folder, name)) {
        ShowRefusal(m_ctx.prompter, this, *refusal);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = DatabaseBackup::BackUp(m_ctx.db, folder, name);
    QApplication::restoreOverrideCursor();
    m_ctx.prompter.information(done ? QStringLiteral("备份成功!") : QStringLiteral("备份失败!"));
    ResetBackupFields();
}
