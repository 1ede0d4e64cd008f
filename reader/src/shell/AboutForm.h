#ifndef ABOUTFORM_H
#define ABOUTFORM_H

#include <QDialog>
#include <QString>

namespace Ui
{
class AboutForm;
}

// The about box: product, version, platform, release date and the maker's
// addresses, with links that open the site and the mail program.
class AboutForm : public QDialog
{
    Q_OBJECT

public:
    explicit AboutForm(QWidget *parent = nullptr);
    ~AboutForm() override;

public slots:
    // Both open the program's own addresses, never the link they are handed,
    // so a translated label cannot send the user elsewhere.
    void gotoSite(QString link);
    void gotoMail(QString link);

private:
    void setupTexts();
    void setupLinks();
    void connectSignals();

    Ui::AboutForm *ui; // owned, deleted in the destructor
};

#endif // ABOUTFORM_H
