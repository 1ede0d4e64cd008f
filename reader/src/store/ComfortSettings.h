#ifndef COMFORTSETTINGS_H
#define COMFORTSETTINGS_H

// How the reading layout spaces and places the text. The defaults lay the
// text out exactly as the toolkit's own layout does; every length is in
// pixels of the view.
struct ComfortSettings {
    static constexpr int MinLineSpacing = 100;
    static constexpr int MaxLineSpacing = 250;
    static constexpr int MaxParagraphSpacing = 100;
    static constexpr int MaxSideMargin = 400;
    static constexpr int MaxTextWidth = 4000;
    // Side margins give way in a narrow view to leave the text this much.
    static constexpr int MinColumnWidth = 200;
    // However small the maximum width, a line holds this many characters of
    // the text's font.
    static constexpr int MinColumnCharacters = 20;

    int lineSpacing = 100;    // percent of the font's own line height
    int paragraphSpacing = 0; // below every paragraph
    int sideMargin = 0;       // left and right of the text column
    int maxTextWidth = 0;     // 0: as wide as the view; else the column is centred

    static bool isLineSpacing(int value)
    {
        return value >= MinLineSpacing && value <= MaxLineSpacing;
    }
    static bool isParagraphSpacing(int value) { return value >= 0 && value <= MaxParagraphSpacing; }
    static bool isSideMargin(int value) { return value >= 0 && value <= MaxSideMargin; }
    static bool isMaxTextWidth(int value) { return value >= 0 && value <= MaxTextWidth; }

    bool operator==(const ComfortSettings &other) const
    {
        return lineSpacing == other.lineSpacing && paragraphSpacing == other.paragraphSpacing &&
               sideMargin == other.sideMargin && maxTextWidth == other.maxTextWidth;
    }
    bool operator!=(const ComfortSettings &other) const { return !(*this == other); }
};

#endif // COMFORTSETTINGS_H
