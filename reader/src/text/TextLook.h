#ifndef TEXTLOOK_H
#define TEXTLOOK_H

#include <QTextCharFormat>

class QColor;
class QFont;
class QTextEdit;
struct ComfortSettings;
class ReadingLayout;

// Puts the user's text font, text colour and background colour on the
// reading view and its document, and the comfort settings on its layout.
// A short text carries font and colour in its own character formats; a long
// one keeps plain formats and shows the document's default font and the
// view's text colour, which a change reaches without touching a character.
class TextLook
{
public:
    void setTextWidget(QTextEdit *edit);

    // The look the view starts with, before any is set.
    QFont initialFont() const;
    QColor initialColor() const;
    QColor initialBackColor() const;

    void setFont(const QFont &font);
    void setColor(const QColor &color);
    // Applies font and colour to the whole text; longText: keep plain formats.
    void apply(bool longText);
    void setBackColor(const QColor &color);
    // False when layout already has them.
    static bool setComfort(ReadingLayout *layout, const ComfortSettings &comfort);

private:
    QTextEdit *m_textWidget = nullptr; // the reading view, not owned
    // The look as one character format, accumulating font and foreground.
    QTextCharFormat m_charFormat;
    QColor m_color;
};

#endif // TEXTLOOK_H
