#include "BookmarkManagerForm.h"
#include "ui_BookmarkManagerForm.h"

#include "ProgramConstants.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <cassert>

BookmarkManagerForm::BookmarkManagerForm(QWidget *parent)
    : QDialog(parent), ui(new Ui::BookmarkManagerForm)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    connect(ui->btnRemove, &QPushButton::clicked, this, &BookmarkManagerForm::remove);
    connect(ui->btnRemoveAll, &QPushButton::clicked, this, &BookmarkManagerForm::removeAll);
    connect(ui->btnOk, &QPushButton::clicked, this, &BookmarkManagerForm::ok);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::close);
}

BookmarkManagerForm::~BookmarkManagerForm()
{
    delete ui;
}

// Each showing starts again from the store, so nothing of an earlier,
// cancelled run is left in the list.
void BookmarkManagerForm::showEvent(QShowEvent *event)
{
    assert(m_config != NULL);
    m_items = BookmarkConfig::bookmarks;
    ui->listWidget->clear();
    for (const BookmarkEntry &entry : qAsConst(m_items))
        ui->listWidget->addItem(rowText(entry));
    QDialog::showEvent(event);
}

void BookmarkManagerForm::remove()
{
    const int row = ui->listWidget->currentRow();
    if (row < 0)
        return;
    if (!confirm(QCoreApplication::translate("QObject", "是否删除标签：") +
                 ui->listWidget->currentItem()->text()))
        return;
    m_items.removeAt(row);
    delete ui->listWidget->takeItem(row);
}

void BookmarkManagerForm::removeAll()
{
    if (ui->listWidget->currentRow() < 0)
        return;
    if (!confirm(QCoreApplication::translate("QObject", "是否删除全部标签？")))
        return;
    ui->listWidget->clear();
    m_items.clear();
}

void BookmarkManagerForm::ok()
{
    m_config->replace(m_items);
    m_config->save(bookmarkFilePath());
    emit bookmarkChange(m_items);
    close();
}

// Bookmarks of different novels often share a title such as 第一章; the file
// tells them apart.
QString BookmarkManagerForm::rowText(const BookmarkEntry &entry)
{
    if (entry.file.isEmpty())
        return entry.title;
    //: a bookmark's title, then the name of its file
    return QCoreApplication::translate("QObject", "%1（%2）")
        .arg(entry.title, QFileInfo(entry.file).fileName());
}

bool BookmarkManagerForm::confirm(const QString &text)
{
    return QMessageBox::question(this, QCoreApplication::translate("QObject", "删除标签"), text,
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}
