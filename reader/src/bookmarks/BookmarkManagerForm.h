#ifndef BOOKMARKMANAGERFORM_H
#define BOOKMARKMANAGERFORM_H

#include "BookmarkConfig.h"

#include <QDialog>

namespace Ui
{
class BookmarkManagerForm;
}

// Removes bookmarks one by one or all at once on a working copy of the
// list; only 保存 hands the copy to the store and its file.
class BookmarkManagerForm : public QDialog
{
    Q_OBJECT

public:
    explicit BookmarkManagerForm(QWidget *parent = nullptr);
    ~BookmarkManagerForm() override;

    BookmarkConfig *m_config = nullptr; // the store, not owned; set before showing

signals:
    void bookmarkChange(BookmarkDataItem item);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void remove();
    void removeAll();
    void ok();

private:
    static QString rowText(const BookmarkEntry &entry);
    bool confirm(const QString &text);

    Ui::BookmarkManagerForm *ui; // owned, deleted in the destructor
    BookmarkDataItem m_items;    // row i of the list shows entry i
};

#endif // BOOKMARKMANAGERFORM_H
