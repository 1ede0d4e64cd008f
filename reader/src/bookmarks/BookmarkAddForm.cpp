#include "BookmarkAddForm.h"
#include "ui_BookmarkAddForm.h"

BookmarkAddForm::BookmarkAddForm(QWidget *parent) : QDialog(parent), ui(new Ui::BookmarkAddForm)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    connect(ui->btnAdd, &QPushButton::clicked, this, &BookmarkAddForm::addClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::close);
}

BookmarkAddForm::~BookmarkAddForm()
{
    delete ui;
}

void BookmarkAddForm::setTitle(const QString &title)
{
    ui->edtTitle->setText(title);
}

// An empty title is the user's choice and is kept as it is.
void BookmarkAddForm::addClick()
{
    emit ok(ui->edtTitle->text(), m_pos);
    close();
}
