#include "ShelfDialog.h"

#include "ShelfModel.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

ShelfDialog::ShelfDialog(ShelfModel *model, QWidget *parent)
    : QDialog(parent), m_model(model), m_filter(new QSortFilterProxyModel(this))
{
    setObjectName(QStringLiteral("shelfDialog"));
    setWindowTitle(QCoreApplication::translate("QObject", "书架"));
    m_filter->setSourceModel(model);
    m_filter->setFilterRole(ShelfModel::SearchRole);
    m_filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    createWidgets();
    createLayout();
    connectWidgets();
    updateButtons();
    resize(760, 460);
}

void ShelfDialog::createWidgets()
{
    m_filterEdit = new QLineEdit(this);
    m_filterEdit->setObjectName(QStringLiteral("edtShelfFilter"));
    m_filterEdit->setPlaceholderText(QCoreApplication::translate("QObject", "筛选书名"));
    m_filterEdit->setClearButtonEnabled(true);
    m_view = new QTreeView(this);
    m_view->setObjectName(QStringLiteral("shelfView"));
    m_view->setModel(m_filter);
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->header()->setSectionResizeMode(ShelfModel::TitleColumn, QHeaderView::Stretch);
    m_view->header()->setSectionResizeMode(ShelfModel::ProgressColumn,
                                           QHeaderView::ResizeToContents);
    m_view->header()->setSectionResizeMode(ShelfModel::LastReadColumn,
                                           QHeaderView::ResizeToContents);
    m_view->header()->setStretchLastSection(false);
    m_view->header()->setSectionResizeMode(ShelfModel::PlaceColumn, QHeaderView::Interactive);
    m_view->setColumnWidth(ShelfModel::PlaceColumn, 220);
    m_open = new QPushButton(QCoreApplication::translate("QObject", "打开"), this);
    m_open->setObjectName(QStringLiteral("btnShelfOpen"));
    m_open->setDefault(true);
    m_remove = new QPushButton(QCoreApplication::translate("QObject", "从书架移除"), this);
    m_remove->setObjectName(QStringLiteral("btnShelfRemove"));
    m_show = new QPushButton(QCoreApplication::translate("QObject", "在文件管理器中显示"), this);
    m_show->setObjectName(QStringLiteral("btnShelfShow"));
}

void ShelfDialog::createLayout()
{
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_open, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_remove, QDialogButtonBox::ActionRole);
    buttons->addButton(m_show, QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_filterEdit);
    layout->addWidget(m_view, 1);
    layout->addWidget(buttons);
}

// Typing filters; Enter in the filter opens the first book left.
void ShelfDialog::connectWidgets()
{
    connect(m_filterEdit, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_filter->setFilterFixedString(text.trimmed());
        m_view->setCurrentIndex(m_filter->index(0, 0));
    });
    connect(m_filterEdit, &QLineEdit::returnPressed, this, &ShelfDialog::openCurrent);
    connect(m_view, &QTreeView::activated, this, &ShelfDialog::openCurrent);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ShelfDialog::updateButtons);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &ShelfDialog::updateButtons);
    connect(m_open, &QPushButton::clicked, this, &ShelfDialog::openCurrent);
    connect(m_remove, &QPushButton::clicked, this, &ShelfDialog::removeCurrent);
    connect(m_show, &QPushButton::clicked, this, &ShelfDialog::showCurrentInFolder);
    m_view->setCurrentIndex(m_filter->index(0, 0));
    m_filterEdit->setFocus();
}

void ShelfDialog::updateButtons()
{
    const QModelIndex book = currentBook();
    const bool there = book.isValid() && book.data(ShelfModel::ThereRole).toBool();
    m_open->setEnabled(there);
    m_show->setEnabled(there);
    m_remove->setEnabled(book.isValid());
}

QModelIndex ShelfDialog::currentBook() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.sibling(current.row(), 0) : QModelIndex();
}

void ShelfDialog::openCurrent()
{
    const QModelIndex book = currentBook();
    if (!book.isValid() || !book.data(ShelfModel::ThereRole).toBool())
        return;
    emit openRequested(m_model->fileName(m_filter->mapToSource(book).row()));
    accept();
}

void ShelfDialog::removeCurrent()
{
    const QModelIndex book = currentBook();
    if (book.isValid())
        emit removeRequested(m_model->fileName(m_filter->mapToSource(book).row()));
}

void ShelfDialog::showCurrentInFolder()
{
    const QModelIndex book = currentBook();
    if (!book.isValid())
        return;
    const QString file = book.data(ShelfModel::FileRole).toString();
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absolutePath()));
}
