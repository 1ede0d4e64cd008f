#ifndef BOOKMARKADDFORM_H
#define BOOKMARKADDFORM_H

#include <QDialog>
#include <QString>

namespace Ui
{
class BookmarkAddForm;
}

// Lets the user confirm or edit the title of a new bookmark. The position
// is fixed by the caller before the dialog runs.
class BookmarkAddForm : public QDialog
{
    Q_OBJECT

public:
    explicit BookmarkAddForm(QWidget *parent = nullptr);
    ~BookmarkAddForm() override;

    void setTitle(const QString &title);

    int m_pos = 0; // text position the new bookmark will carry

signals:
    void ok(QString title, int pos);

private slots:
    void addClick();

private:
    Ui::BookmarkAddForm *ui; // owned, deleted in the destructor
};

#endif // BOOKMARKADDFORM_H
