#ifndef READINGANCHOR_H
#define READINGANCHOR_H

#include <QObject>
#include <QPointer>

#include <functional>

class QTextEdit;
class ReadingLayout;

// Keeps the text the reader is looking at where it is. The anchor is the
// line at the top of the view, held as the position of its first character
// and how far below that line's top the view begins: whatever changes the
// layout (a font, a colour, a new width, estimated heights replaced in the
// background, text arriving) the view follows it, and a view at the end of
// the text stays at the end. Positions outlast every relayout. A position
// asked for beyond the part of a text still loading is held back, with no
// text on screen rather than the wrong one, until its text has arrived.
class ReadingAnchor : public QObject
{
    Q_OBJECT

public:
    explicit ReadingAnchor(QObject *parent = nullptr);

    void setTextWidget(QTextEdit *edit);
    // The layout of the view's document, whose changes the view follows.
    void setLayout(ReadingLayout *layout);
    // While the text is loading, positions beyond it are held back.
    void setLoading(bool loading);

    // The document position of the text at the top of the view; a position
    // held back counts as shown.
    int topPosition() const;
    // Moves the view's cursor to position (clamped into the text) and the
    // view so that the cursor's line sits fraction of the view's height from
    // its top.
    void showPosition(int position, qreal fraction);
    // A new text is read from its start, the margin above its first line
    // included; a position held back for the text before is kept.
    void holdStart();
    // Shows a position held back once enough of its text has arrived.
    void textArrived();
    // Another text comes: what was held back for this one is forgotten.
    void dropHeldPosition();
    // Changes to the view's scroll bar made by f are this component's own:
    // they keep the anchor.
    void moveViewWhile(const std::function<void()> &f);
    // The view goes back to the anchor, as the layout now stands.
    void follow();

private:
    void viewMoved();
    void takeAnchor();
    void holdAnchor(int position, qreal offset);
    void setTextHidden(bool hidden);
    qreal lineTop(int position, qreal *height = nullptr) const;
    void moveView(int value);

    QTextEdit *m_textWidget = nullptr; // the reading view, not owned
    QPointer<ReadingLayout> m_layout;  // the view's document's, not owned
    int m_anchorPosition = -1;
    qreal m_anchorOffset = 0; // negative above the line's top
    bool m_anchorAtEnd = false;
    bool m_movingView = false; // the view is moved by this component
    bool m_loading = false;
    // A position asked for beyond the text that has arrived, or -1.
    int m_pendingPosition = -1;
    qreal m_pendingFraction = 0;
};

#endif // READINGANCHOR_H
