#ifndef SYNCPAGE_H
#define SYNCPAGE_H

#include "SyncStatus.h"

#include <QUrl>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// The "同步" page: the WebDAV account (address, user, password), a test of
// it, a sync on demand, how the last sync went and where the password is
// kept. It only shows and asks; ReaderSync acts.
class SyncPage : public QWidget
{
    Q_OBJECT

public:
    explicit SyncPage(QWidget *parent = nullptr);

    void setAccount(const QUrl &address, const QString &user);
    void setPassword(const QString &password);
    QUrl address() const;
    QString user() const;
    QString password() const;

    void showStatus(const SyncStatus &status);
    void showTest(bool ok, const QString &text);
    void showPasswordPlace(bool inMemoryOnly);

signals:
    // The fields as they stand, when the user saves them.
    void accountSaved();
    void testRequested();
    void syncRequested();

private:
    void buildFields();
    void buildButtons();
    void testClicked();

    QLineEdit *m_address; // children, in the page's layout
    QLineEdit *m_user;
    QLineEdit *m_password;
    QPushButton *m_save;
    QPushButton *m_test;
    QPushButton *m_syncNow;
    QLabel *m_testResult;
    QLabel *m_status;
    QLabel *m_passwordPlace;
};

#endif // SYNCPAGE_H
