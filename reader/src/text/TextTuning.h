#ifndef TEXTTUNING_H
#define TEXTTUNING_H

#include <QtGlobal>

// The numbers that decide how a novel comes from the disk to the screen, in
// one place, each with what chose it. Figures are QuirelleBench's (see
// bench/README.md, where each run is recorded with its command) on a
// 2-core machine, for GBK novels of 40 and 100 MB.
namespace TextTuning
{

// --- Reading (TextLoader) ---------------------------------------------

// A file up to this size is read and decoded whole before it shows: a few
// dozen milliseconds. A longer one shows its first HeadBytes at once (cut at
// a line break) and the rest arrives in the background; opening a 40 or
// 100 MB novel then took 30 ms instead of 1041 and 2407 ms.
constexpr qint64 WholeReadBytes = 1 << 20;
constexpr int HeadBytes = 128 * 1024;
// The loader reads and decodes this much at a time, a few milliseconds of
// a worker's time, and hands it over as one piece.
constexpr int ChunkBytes = 1 << 20;
// The loader waits while this many decoded characters are handed over and
// not yet taken by the window, which keeps them without a copy: pieces on
// their way through the event queue are the only text held twice.
constexpr qint64 QueuedCharacterLimit = 1 << 20;

// A stretch of text longer than this is converted to another script in two
// halves at once (cut at a line break), one of them on another worker:
// converting takes the loader three times as long as reading and decoding,
// and the second core is mostly idle meanwhile.
constexpr int HalvedConversionCharacters = 64 * 1024;

// --- Appending (DocumentFeeder) ----------------------------------------

// Appending takes at most this long per pass of the event loop, in slices
// of at most this many characters (ending at a line break). With 16 ms and
// 128 K characters, passes of 25 to 40 ms came one after another while a
// 40 MB novel arrived, and a wheel turn waited as long; with these, the
// first open's longest pass until the text was whole was 18 to 25 ms and
// the whole text took no longer (1.2 to 1.3 s; QuirelleBench --cases
// firstopen).
constexpr int AppendMilliseconds = 8;
constexpr int SliceCharacters = 32 * 1024;
// A position asked for while a text loads is shown once this much text
// below it has arrived: a few screens even in a small font.
constexpr int PendingLookAhead = 20000;

// --- Look (TextLook) -----------------------------------------------------

// Up to this many characters a text carries the font and colour in its own
// character formats: re-formatting them costs under 50 ms. A longer text
// keeps plain formats and shows the document's default font and the view's
// text colour, which a change reaches without touching a character.
constexpr int CharacterFormatLimit = 200000;

// --- Glyphs (GlyphWarmUp) -----------------------------------------------

// Before the first text, the commonest characters are laid out and drawn
// this many at a time (a few milliseconds), with this pause between slices
// so that the window's own start-up goes first: about 40 slices in all.
constexpr int WarmUpSliceCharacters = 96;
constexpr int WarmUpIntervalMilliseconds = 10;

// --- Layout (ReadingLayout) ----------------------------------------------

// Laid out at once when the text changes, so that the first pages are there
// when the change returns and the estimates have lines to go by: a few
// pages even at 9 points, about 10 ms.
constexpr int SynchronousCharacters = 8000;
// The longest stretch of background layout in one pass of the event loop.
constexpr int LayoutSliceMilliseconds = 8;
// A block the view asks about before it is laid out is mostly one it is
// about to scroll to; this much above it is laid out with it (pixels), so
// that nothing on that screen moves once it is painted.
constexpr qreal ScreenAbove = 4000;
// Texts up to this long are laid out to their end in the background, about
// a second of a core; a longer text is laid out where it is shown and keeps
// estimated heights elsewhere, within 2 % of the laid-out height. Laying out
// the whole 40 MB novel costs 6.1 s (15.7 s at 100 MB).
constexpr int BackgroundCharacterLimit = 4000000;
// While an edit of the document is still open the layout waits this long
// before it looks again.
constexpr int EditWaitMilliseconds = 50;

// --- Finding (TextSearch, TextEdit) ---------------------------------------

// Characters of context on each side of a listed match: a short clause of
// Chinese, which is what tells one place from another.
constexpr int SearchContextCharacters = 15;
// Matches listed with their context; beyond this they are only counted, so
// that a search for one common character keeps a list the window can hold.
constexpr int SearchListLimit = 10000;
// A search reports what it found once it has this many matches, and then at
// most this often, so that the first rows show at once and the list grows
// in a few dozen steps a second rather than one per match.
constexpr int SearchFirstReport = 100;
constexpr int SearchReportMilliseconds = 25;
// How far a match that starts near the end of one arrived piece may run on
// into the next (an expression across a line break); a longer one is cut.
constexpr int SearchSeamCharacters = 256;
} // namespace TextTuning

#endif // TEXTTUNING_H
