#include "SyncPage.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QLabel *wrappedLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

SyncPage::SyncPage(QWidget *parent)
    : QWidget(parent), m_address(new QLineEdit(this)), m_user(new QLineEdit(this)),
      m_password(new QLineEdit(this)),
      m_save(new QPushButton(QCoreApplication::translate("QObject", "保存"), this)),
      m_test(new QPushButton(QCoreApplication::translate("QObject", "测试连接"), this)),
      m_syncNow(new QPushButton(QCoreApplication::translate("QObject", "立即同步"), this)),
      m_testResult(wrappedLabel(QStringLiteral("lblSyncTest"), this)),
      m_status(wrappedLabel(QStringLiteral("lblSyncStatus"), this)),
      m_passwordPlace(wrappedLabel(QStringLiteral("lblSyncPassword"), this))
{
    setObjectName(QStringLiteral("tabSync"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    buildFields();
    buildButtons();
    layout->addWidget(m_testResult);
    layout->addWidget(m_status);
    layout->addWidget(m_passwordPlace);
    layout->addStretch();
    showStatus(SyncStatus());
}

void SyncPage::buildFields()
{
    m_address->setObjectName(QStringLiteral("edtSyncAddress"));
    m_address->setPlaceholderText(QStringLiteral("https://dav.example.com/dav/"));
    m_user->setObjectName(QStringLiteral("edtSyncUser"));
    m_password->setObjectName(QStringLiteral("edtSyncPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    auto *fields = new QFormLayout;
    fields->addRow(QCoreApplication::translate("QObject", "WebDAV 地址"), m_address);
    fields->addRow(QCoreApplication::translate("QObject", "用户名"), m_user);
    fields->addRow(QCoreApplication::translate("QObject", "密码"), m_password);
    static_cast<QVBoxLayout *>(layout())->addLayout(fields);
}

void SyncPage::buildButtons()
{
    m_save->setObjectName(QStringLiteral("btnSyncSave"));
    m_test->setObjectName(QStringLiteral("btnSyncTest"));
    m_syncNow->setObjectName(QStringLiteral("btnSyncNow"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(m_test);
    buttons->addWidget(m_syncNow);
    buttons->addStretch();
    static_cast<QVBoxLayout *>(layout())->addLayout(buttons);
    connect(m_save, &QPushButton::clicked, this, &SyncPage::accountSaved);
    connect(m_test, &QPushButton::clicked, this, &SyncPage::testClicked);
    connect(m_syncNow, &QPushButton::clicked, this, &SyncPage::syncRequested);
}

void SyncPage::testClicked()
{
    m_testResult->setText(QCoreApplication::translate("QObject", "正在连接…"));
    emit testRequested();
}

void SyncPage::setAccount(const QUrl &address, const QString &user)
{
    m_address->setText(address.toString(QUrl::RemoveUserInfo));
    m_user->setText(user);
}

void SyncPage::setPassword(const QString &password)
{
    m_password->setText(password);
}

// A password typed into the address goes to its own field, and from
// there to the keyring.
QUrl SyncPage::address() const
{
    return QUrl::fromUserInput(m_address->text().trimmed()).adjusted(QUrl::RemoveUserInfo);
}

QString SyncPage::user() const
{
    const QUrl typed = QUrl::fromUserInput(m_address->text().trimmed());
    return m_user->text().isEmpty() ? typed.userName() : m_user->text();
}

QString SyncPage::password() const
{
    const QUrl typed = QUrl::fromUserInput(m_address->text().trimmed());
    return m_password->text().isEmpty() ? typed.password() : m_password->text();
}

void SyncPage::showStatus(const SyncStatus &status)
{
    m_status->setText(status.text());
}

void SyncPage::showTest(bool ok, const QString &text)
{
    m_testResult->setText(ok ? text
                             : QCoreApplication::translate("QObject", "连接失败：%1").arg(text));
}

void SyncPage::showPasswordPlace(bool inMemoryOnly)
{
    m_passwordPlace->setText(
        inMemoryOnly
            ? QCoreApplication::translate(
                  "QObject", "没有可用的密钥环：密码只保存在内存中，关闭阅读器后需要重新输入。")
            : QCoreApplication::translate("QObject", "密码保存在系统密钥环中。"));
}
