#ifndef TEXTDISPLAY_H
#define TEXTDISPLAY_H

#include "PositionMap.h"
#include "RuleCleaner.h"
#include "TextLook.h"
#include "TransformOptions.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>

#include <memory>

struct ComfortSettings;
struct OpenResult;

class DocumentFeeder;
class DocumentSwap;
class GlyphWarmUp;
class QTextEdit;
class QWidget;
class ReadingAnchor;
class ScriptConverter;
class ShownText;
class TextLoader;

// Puts a text file into the reading view and keeps the user's font and
// colours on it across every file that is opened. It wires the parts that
// do the work: the loader reads and decodes (a long file's start at once,
// the rest in the background), each text gets a document of its own whose
// predecessor is freed off the GUI thread, the feeder appends what arrives,
// the anchor keeps the line being read in place and the look carries the
// font, colours and comfort settings. Until the first text comes, the
// glyphs of the text font are made ready.
class TextDisplay : public QObject
{
    Q_OBJECT

public:
    explicit TextDisplay(QObject *parent = nullptr);
    ~TextDisplay() override;

    void setTextWidget(QTextEdit *edit);
    // Parent of the messages about files that cannot be opened.
    void setParentWidget(QWidget *widget);

    // codec: a ZkTextDecoder number. With autoDetect the bytes decide.
    // True when the file's text is now in the view, or its start with the
    // rest on its way (isLoading()); false, with a message and the view as
    // it was, when the file is missing, empty or cannot be read, or is not
    // text (as the bytes decide) and the user chose not to open it anyway.
    bool openFile(const QString &fileName, bool autoDetect, int codec);
    // The file on screen was opened though its bytes are not text.
    bool isNotText() const { return m_notText; }
    // How the next file opened becomes the text the view shows.
    void setTransformOptions(const TransformOptions &options) { m_options = options; }
    const TransformOptions &transformOptions() const { return m_options; }
    // The scripts of these configurations may be chosen soon: their
    // dictionaries are loaded on the pool and their glyphs made ready
    // meanwhile, so that choosing one costs no long pass.
    void prepareScripts(const QStringList &configurations);
    bool isLoading() const;
    // The codec number the text on screen was decoded with; -1 before any.
    int codec() const { return m_codec; }

    // Positions here are positions in the file's text (as the document
    // counts them with no transform: a CR LF is one), whatever the view
    // shows; the document's own are its shown positions.
    int toShownPosition(int filePosition) const { return m_map.toShown(filePosition); }
    int toFilePosition(int shownPosition) const { return m_map.toFile(shownPosition); }
    // Between the shown text and the file text, as far as it has arrived.
    const PositionMap &positionMap() const { return m_map; }
    // How far into the file text the text in the view reaches.
    int arrivedFilePosition() const;
    // text (a word to find) in the script the view shows: the one it was
    // converted into, else the text's own, told from its start.
    QString toShownScript(const QString &text) const;

    // The text in the view, kept for searches off the GUI thread, which must
    // not read the document; it follows every text the view gets.
    ShownText *shownText() const { return m_shown; }

    // The position of the text at the top of the view.
    int topPosition() const;
    // Moves the view's cursor to position (clamped into the text) and the view
    // so that the cursor's line sits fraction of the view's height from its
    // top: 0 puts it on the top line, 1.0 / 3 in the top third. A position
    // beyond the part of a text still loading is shown once it has arrived;
    // until then the view shows no text rather than the wrong one.
    void showPosition(int position, qreal fraction = 0);
    // Spacing and placing of the text; the text at the top of the view stays
    // there.
    void setComfort(const ComfortSettings &comfort);

signals:
    // The text of fileName is about to leave the view for another text (or
    // for the same file read again); the view still shows it.
    void leaving(const QString &fileName);
    // The text of fileName is in the view: opened, or read again in another
    // encoding.
    void opened(const QString &fileName);
    // Emitted before opened() when the text on screen is decoded otherwise.
    void codecChanged(int codec);
    // The whole text just put into the view, as the view got it (line ends
    // untouched). Implicitly shared: a receiver that keeps it keeps the
    // decoded text alive, so it should let go once it is done with it.
    void textLoaded(const QString &text);
    // The whole text of the view, as textLoaded() will give it, once it is
    // read: a long text's end may still be on its way into the view.
    void textRead(const QString &text);
    // The view's document holds start alone now: a new text begins (or the
    // same one again from its start). Each piece that follows it into the
    // document comes with textGrew(). Both are the shown text, line ends
    // untouched, and implicitly shared.
    void textBegun(const QString &start);
    void textGrew(const QString &piece);
    // How much of a long text is in the view, in percent of its file; 100
    // once it is all there.
    void loadProgress(int percent);
    // Cleaning rules that failed on the text (not valid, or past the bound of
    // a match) and were left out.
    void cleaningRulesFailed(const QVector<RuleCleaner::Failure> &failures);
    // The script chosen could not be had (its OpenCC configuration is
    // missing or damaged); the text is shown as the file has it.
    void scriptFailed(const QString &error);

public slots:
    void setTextFont(QFont font);
    void setTextColor(QColor color);
    void setBackColor(QColor color);

private:
    void connectParts();
    void showStart(const OpenResult &result);
    void showText(const QString &text, bool continues);
    void startAgain(int codec);
    void takePiece(const QString &text, const PositionMap &map, qint64 bytesRead);
    void pieceTaken(const QString &piece, qint64 bytesRead);
    void showHeldPosition();
    void finishLoading(const QString &text);
    void loadFailed(const QString &error);
    void showOpenFailure(const OpenResult &result);
    bool askOpenAnyway(const QString &fileName) const;
    void setProgress(int percent);
    void setCodec(int codec);
    void setFontAndColor(const QFont &font, const QColor &color);
    void dropSelection();

    QTextEdit *m_textWidget = nullptr; // the reading view, not owned

public:
    QString m_fileName; // last file found on disk; re-read by the codec menu
    QFont m_textFont;   // seeds the text font dialog
    QColor m_textColor; // seeds the text colour dialog
    QColor m_backColor; // seeds the background colour dialog

private:
    QWidget *m_parentWidget = nullptr; // parent of message boxes, not owned
    // The parts; children of this object, except the look.
    TextLoader *m_loader;
    DocumentSwap *m_documents;
    DocumentFeeder *m_feeder;
    ReadingAnchor *m_anchor;
    GlyphWarmUp *m_glyphs;
    ShownText *m_shown;
    TextLook m_look;
    TransformOptions m_options;
    PositionMap m_map;                               // of the text in the view
    std::shared_ptr<const ScriptConverter> m_script; // the view's, or null
    // Into the text's own script, found once asked for (an unconverted view).
    mutable std::shared_ptr<const ScriptConverter> m_ownScript;
    mutable bool m_ownScriptKnown = false;
    int m_codec = -1;
    qint64 m_fileSize = 0;
    int m_progress = 100;
    bool m_notText = false; // of m_fileName
};

#endif // TEXTDISPLAY_H
