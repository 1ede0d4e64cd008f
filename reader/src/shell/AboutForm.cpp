#include "AboutForm.h"
#include "ui_AboutForm.h"

#include "ProgramConstants.h"
#include "ZkUtility.h"

#include <QCoreApplication>

AboutForm::AboutForm(QWidget *parent) : QDialog(parent), ui(new Ui::AboutForm)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    setupTexts();
    setupLinks();
    connectSignals();
}

AboutForm::~AboutForm()
{
    delete ui;
}

void AboutForm::setupTexts()
{
    ui->lblName->setText(QCoreApplication::translate("QObject", DisplayNameSource) +
                         QCoreApplication::translate("QObject", "：") + VersionText);
    ui->lblCopyright->setText(
        QCoreApplication::translate("QObject", "版权所有 (C) 2012 澄溪软件工作室"));
    ui->lblPlatform->setText(QCoreApplication::translate("QObject", "适用系统：") + PlatformName);
    // The form only holds the object name here; left alone it would be shown
    // to the user as "lblLicense".
    ui->lblLicense->setText(QCoreApplication::translate("QObject", "授权方式：免费软件"));
    ui->lblUpdateDate->setText(QCoreApplication::translate("QObject", "更新日期：") + ReleaseDate);
    ui->lblSite->setText(QCoreApplication::translate("QObject", "官方网站：") + SiteUrl);
    ui->lblMail->setText(QCoreApplication::translate("QObject", "电子邮箱：") + MailAddress);
}

// The form carries the link's look and text with "%1" as its target; the
// addresses themselves are build settings, so they are filled in here.
void AboutForm::setupLinks()
{
    ui->lblGoSite->setText(ui->lblGoSite->text().arg(SiteUrl.toHtmlEscaped()));
    ui->lblGoMail->setText(ui->lblGoMail->text().arg(MailUrl.toHtmlEscaped()));
}

void AboutForm::connectSignals()
{
    connect(ui->btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(ui->lblGoSite, &QLabel::linkActivated, this, &AboutForm::gotoSite);
    connect(ui->lblGoMail, &QLabel::linkActivated, this, &AboutForm::gotoMail);
}

void AboutForm::gotoSite(QString link)
{
    Q_UNUSED(link);
    zk::openUrl(SiteUrl);
}

void AboutForm::gotoMail(QString link)
{
    Q_UNUSED(link);
    zk::openUrl(MailUrl);
}
