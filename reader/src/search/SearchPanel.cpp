#include "SearchPanel.h"

#include "SearchResultDelegate.h"
#include "SearchResultModel.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QVBoxLayout>

SearchPanel::SearchPanel(SearchResultModel *model, QWidget *parent)
    : QDockWidget(parent), m_status(new QLabel), m_view(new QListView)
{
    setObjectName(QStringLiteral("searchDock"));
    setWindowTitle(QCoreApplication::translate("QObject", "搜索结果"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    m_status->setObjectName(QStringLiteral("lblSearchStatus"));
    m_status->setWordWrap(true);
    m_view->setObjectName(QStringLiteral("searchView"));
    m_view->setModel(model);
    m_view->setItemDelegate(new SearchResultDelegate(m_view));
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Up to ten thousand rows: one row's height stands for all.
    m_view->setUniformItemSizes(true);
    // A row is cut off at the panel's edge; its tooltip has all of it.
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_view, &QListView::activated, this,
            [this](const QModelIndex &index) { emit rowChosen(index.row()); });
    connect(m_view, &QListView::clicked, this,
            [this](const QModelIndex &index) { emit rowChosen(index.row()); });
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_status);
    layout->addWidget(m_view);
    setWidget(content);
}

void SearchPanel::dockBeside(QMainWindow *window, QDockWidget *neighbour)
{
    window->addDockWidget(window->dockWidgetArea(neighbour), this);
    window->tabifyDockWidget(neighbour, this);
    hide();
}

void SearchPanel::showStatus(const QString &text)
{
    m_status->setText(text);
}

void SearchPanel::setCurrentRow(int row)
{
    m_view->setCurrentIndex(m_view->model()->index(row, 0));
}

void SearchPanel::closeEvent(QCloseEvent *event)
{
    QDockWidget::closeEvent(event);
    emit closed();
}
