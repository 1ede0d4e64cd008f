#ifndef SEARCHPANEL_H
#define SEARCHPANEL_H

#include <QDockWidget>

class QLabel;
class QListView;
class QMainWindow;
class SearchResultModel;

// The list of a search's matches beside the reading view, under a line that
// says how many there are. It shows; what the rows mean is up to its owner.
class SearchPanel : public QDockWidget
{
    Q_OBJECT

public:
    // model: not owned, outlives the panel.
    explicit SearchPanel(SearchResultModel *model, QWidget *parent = nullptr);

    // A tab of neighbour's dock, hidden until the first search.
    void dockBeside(QMainWindow *window, QDockWidget *neighbour);
    void showStatus(const QString &text);
    void setCurrentRow(int row);

signals:
    void rowChosen(int row);
    // The reader closed the panel.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_status; // children of the panel
    QListView *m_view;
};

#endif // SEARCHPANEL_H
