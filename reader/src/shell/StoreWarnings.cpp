#include "StoreWarnings.h"

#include "ZkXmlFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QWidget>

StoreWarnings::StoreWarnings(QWidget *window) : QObject(window), m_window(window) {}

void StoreWarnings::watch(ZkXmlFile *store)
{
    connect(store, &ZkXmlFile::saveFailed, this, &StoreWarnings::saveFailed);
    connect(store, &ZkXmlFile::originalKept, this, &StoreWarnings::originalKept);
}

void StoreWarnings::saveFailed(const QString &fileName)
{
    if (m_toldSaveFailure)
        return;
    m_toldSaveFailure = true;
    show(QCoreApplication::translate("QObject", "无法保存到 %1。\n本次的更改在关闭程序后会丢失。")
             .arg(QDir::toNativeSeparators(fileName)));
}

void StoreWarnings::originalKept(const QString &fileName, const QString &copyName)
{
    show(QCoreApplication::translate("QObject", "%1 未能完整读取。\n原来的文件已保存为 %2。")
             .arg(QDir::toNativeSeparators(fileName), QDir::toNativeSeparators(copyName)));
}

// Saves happen inside slots of spin boxes and dialogs; a box that does not
// block leaves them to finish.
void StoreWarnings::show(const QString &text)
{
    auto *box =
        new QMessageBox(QMessageBox::Warning, QCoreApplication::translate("QObject", "提示"), text,
                        QMessageBox::Ok, m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
