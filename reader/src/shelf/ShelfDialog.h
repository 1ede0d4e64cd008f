#ifndef SHELFDIALOG_H
#define SHELFDIALOG_H

#include <QDialog>

class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTreeView;
class ShelfModel;

// 书架: the books read, filtered as the user types, opened, removed or shown
// in the file manager. A book whose file is gone cannot be opened.
class ShelfDialog : public QDialog
{
    Q_OBJECT

public:
    // model: not owned, outlives the dialog.
    ShelfDialog(ShelfModel *model, QWidget *parent);

signals:
    void openRequested(const QString &fileName);
    void removeRequested(const QString &fileName);

private:
    void createWidgets();
    void createLayout();
    void connectWidgets();
    void updateButtons();
    QModelIndex currentBook() const;
    void openCurrent();
    void removeCurrent();
    void showCurrentInFolder();

    ShelfModel *m_model;
    QSortFilterProxyModel *m_filter; // child
    QLineEdit *m_filterEdit;
    QTreeView *m_view;
    QPushButton *m_open;
    QPushButton *m_remove;
    QPushButton *m_show;
};

#endif // SHELFDIALOG_H
