#include "MainForm.h"
#include "ui_MainForm.h"

#include "ProgramConstants.h"
#include "TextDisplay.h"
#include "ZkUtility.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopWidget>
#include <QDir>
#include <QFileDialog>
#include <QMimeData>
#include <QUrl>

MainForm::MainForm(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainForm)
{
    ui->setupUi(this);
    zk::moveCenter(this, QApplication::desktop());
    createComponents();
    initComponents();
    connectSignals();
    setAcceptDrops(true);
}

MainForm::~MainForm()
{
    delete ui;
}

// The order matters to the components' constructors only in that each is a
// child of the window; none of them touches the form here.
void MainForm::createComponents()
{
    m_textDisplay = new TextDisplay(this);
}

void MainForm::initComponents()
{
    m_textDisplay->setTextWidget(ui->textWidget);
    m_textDisplay->setParentWidget(this);
}

void MainForm::connectSignals()
{
    connect(ui->btnOpen, &QPushButton::clicked, this, &MainForm::openFileDialog);
}

void MainForm::openFileDialog()
{
    const QString fileName = QFileDialog::getOpenFileName(
        this, QCoreApplication::translate("QObject", "选择文本文件"), QString(),
        QCoreApplication::translate("QObject", "文本文件(*.txt);;全部文件(*.*)"));
    openTextFile(fileName);
}

void MainForm::openTextFile(QString fileName)
{
    if (fileName.isEmpty())
        return;
    fileName = QDir::toNativeSeparators(fileName);
    m_textDisplay->openFile(fileName, true, 0);
}

void MainForm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    QCoreApplication::exit(0);
}

void MainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(UriListMime))
        event->acceptProposedAction();
}

void MainForm::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    openTextFile(urls.first().toLocalFile());
}
