#ifndef SEARCHHIGHLIGHTER_H
#define SEARCHHIGHLIGHTER_H

#include <QObject>

class QTextEdit;
class SearchResultModel;

// Marks the listed matches in the reading view, only those on screen: a
// list of thousands costs no more to draw than the few in sight.
class SearchHighlighter : public QObject
{
    Q_OBJECT

public:
    // Both outlive this object.
    SearchHighlighter(QTextEdit *view, SearchResultModel *model, QObject *parent = nullptr);

    void setEnabled(bool enabled);

private:
    void update();

    QTextEdit *m_view;          // not owned
    SearchResultModel *m_model; // not owned
    bool m_enabled = false;
};

#endif // SEARCHHIGHLIGHTER_H
