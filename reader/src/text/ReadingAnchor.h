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
// whose text has not arrived yet is held, with no text on screen rather than
// the wrong one, until it can be shown. Positions here are the document's.
class ReadingAnchor : public QObject
{
    Q_OBJECT

public:
    explicit ReadingAnchor(QObject *parent = nullptr);

    void setTextWidget(QTextEdit *edit);
    // The layout of the view's document, whose changes the view follows.
    void setLayout(ReadingLayout *layout);

    // The document position of the text at the top of the view.
    int topPosition() const;
    // Moves the view's cursor to position (clamped into the text) and the
    // view so that the cursor's line sits fraction of the view's height from
    // its top; a position held is let go.
    void showPosition(int position, qreal fraction);
    // A new text is read from its start, the margin above its first line
    // included.
    void holdStart();
    // Keeps position (the caller's kind: it is not shown here) for when its
    // text has come, and shows no text meanwhile; -1 when none is held.
    void holdPosition(int position, qreal fraction);
    int heldPosition() const { return m_heldPosition; }
    qreal heldFraction() const { return m_heldFraction; }
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
    int m_heldPosition = -1;
    qreal m_heldFraction = 0;
};

#endif // READINGANCHOR_H
