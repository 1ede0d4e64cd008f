#ifndef MAINFORM_H
#define MAINFORM_H

#include <QMainWindow>

namespace Ui
{
class MainForm;
}

class AutoScrollControl;
class BookShelf;
class BookmarkConfig;
class ChapterPanel;
class BookmarkMenug;
class Config;
class FindAll;
class FullScreenMode;
class LoadProgressBar;
class ReaderSync;
class ReadingProgress;
class ReadingSession;
class TextCodecMenu;
class TextDisplay;
class TextEdit;
class TextMenu;
class TextScroll;
class THistoryFileMenu;
class StoreWarnings;
class TextCleanup;
class WindowKeys;
class ZkAdHelper;
class ZkCheckUpdate;
struct OpenRequest;

// The reader's only main window. It owns the form and every component of
// the reader (as Qt children), wires them to each other and to the form,
// applies the stored settings, and is the one road by which every file is
// opened: the file dialog, a drop, the command line, the recent files, a
// bookmark of another file and the encoding menu's re-read all come to
// openTextFile().
//
// Its source is over 400 lines: the window's own slots answer the form's
// controls one by one (fonts, colours, scrolling, opening), and wiring the
// components to each other, to the form and to the window's keys, which is
// most of the rest, is this class's one job. What a component does beyond
// being wired goes into the component (AutoScrollControl, ReadingProgress,
// ColorPresetPanel and their like), not here.
class MainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainForm(QWidget *parent = nullptr);
    ~MainForm() override;

    // Opens the first argument after the program's name (a path relative to
    // workingFolder) once the event loop runs, as if chosen in the file
    // dialog. Further arguments are ignored.
    void openArguments(const QStringList &arguments, const QString &workingFolder);
    // The file the arguments name, absolute; empty when they name none.
    static QString fileArgument(const QStringList &arguments, const QString &workingFolder);
    // Once the event loop runs; nothing for an empty name.
    void openLater(const QString &fileName);
    // The file given at start, else the book read last where the reading
    // state asks for it.
    void openAtStart(const QString &fileName);
    // A later start of the reader was given fileName (or none): the window
    // comes to the front and shows it.
    void openHandedOver(const QString &fileName);

signals:
    // The text's colours changed, by a dialog or a preset.
    void colorsApplied(const QColor &text, const QColor &back);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void showAbout();
    void openFileDialog();
    void openUiFontDialog();
    void openTextFontDialog();
    void openTextColorDialog();
    void openBackColorDialog();
    void scrollTypeChange(int i);
    void uiFontChange(QFont font);
    void textFontChange(QFont font);
    void textColorChange(QColor color);
    void backColorChange(QColor color);
    void scrollScreenTimeChange(int time);
    void scrollPageTimeChange(int time);

private:
    void createComponents();
    void initComponents();
    void initJumps();
    void connectSignals();
    void initChapters();
    void initSearch();
    void showWindowTitle();
    void initAd();
    void loadConfig();
    void openTextFile(const OpenRequest &request);
    void openTextFile(const QString &fileName);
    QString dialogFolder() const;

    // Reading positions, comfort settings, keys and the window's geometry
    void initReadingComfort();
    void initProgress();
    void initColorPresets();
    void initShelf();
    void stepTextFontSize(int step);
    void createShortcuts();
    void setShortcutTips(const QKeySequence &open, const QKeySequence &bookmark,
                         const QKeySequence &find, const QKeySequence &fullScreen);
    void goToFind();
    void addBookmarkHere();
    void goToTextEdge(bool end);

    Ui::MainForm *ui; // owned, deleted in the destructor

    // The components are Qt children of the window and die with it.
    ZkCheckUpdate *m_checkUpdate = nullptr;
    ZkAdHelper *m_adHelper = nullptr; // rotates the pictures of wdtAd
    Config *m_appConfig = nullptr;
    TextDisplay *m_textDisplay = nullptr;
    TextScroll *m_textScroll = nullptr;
    TextCodecMenu *m_codecMenu = nullptr;
    THistoryFileMenu *m_historyMenu = nullptr;
    BookmarkMenug *m_bookmarkMenu = nullptr;
    BookmarkConfig *m_bookmarkConfig = nullptr;
    TextMenu *m_textMenu = nullptr;
    TextEdit *m_textEdit = nullptr;
    ReadingSession *m_session = nullptr; // the comfort panel in widget_6 of the 显示 page
    TextCleanup *m_cleanup = nullptr;    // its panel below the comfort panel
    ReaderSync *m_sync = nullptr;        // the 同步 page

    StoreWarnings *m_storeWarnings = nullptr;
    WindowKeys *m_keys = nullptr;
    FullScreenMode *m_fullScreen = nullptr;
    ChapterPanel *m_chapterPanel = nullptr;    // docked on the window
    FindAll *m_findAll = nullptr;              // its panel a tab of the chapters' dock
    LoadProgressBar *m_loadProgress = nullptr; // floats over the text view, its parent
    ReadingProgress *m_progress = nullptr;
    BookShelf *m_shelf = nullptr;
    AutoScrollControl *m_autoScroll = nullptr; // works the form's scroll controls

    // The form's title, which the file name and chapter are put before.
    QString m_appTitle;

    // Set only while loadConfig fills the interval spin boxes, so that
    // showing the stored values does not start scrolling or save.
    bool m_loadingConfig = false;
};

#endif // MAINFORM_H
