#ifndef MAINFORM_H
#define MAINFORM_H

#include <QMainWindow>
#include <QPointer>

#include <functional>

namespace Ui
{
class MainForm;
}

class BookmarkConfig;
class ChapterPanel;
class BookmarkMenug;
class ComfortPanel;
class Config;
class QProgressBar;
class QShortcut;
class ReadingPositions;
class ReadingState;
class TextCodecMenu;
class TextDisplay;
class TextEdit;
class TextMenu;
class TextScroll;
class THistoryFileMenu;
class ZkAdHelper;
class ZkCheckUpdate;
class ZkXmlFile;
struct ComfortSettings;

// The reader's only main window. It owns the form and every component of
// the reader (as Qt children), wires them to each other and to the form,
// applies the stored settings and opens the files the user chooses or drops.
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

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
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
    void addChapterButton();
    void showWindowTitle();
    void showLoadProgress(int percent);
    void initAd();
    void loadConfig();
    // With a position (a bookmark of another file), the view goes there once
    // the file is on screen.
    void openTextFile(QString fileName, int position = -1);
    QString dialogFolder() const;

    // Reading positions, comfort settings, keys and the window's geometry
    void initReadingComfort();
    void loadReadingState();
    void saveReadingState();
    void comfortChange(const ComfortSettings &comfort);
    void createShortcuts();
    QShortcut *addShortcut(const QKeySequence &key, const std::function<void()> &action);
    void setFullScreen(bool on);
    void goToFind();
    void addBookmarkHere();
    void goToTextEdge(bool end);

    // Settings and bookmarks that cannot be saved, files kept before replacing
    void watchStores();
    void watchStore(ZkXmlFile *store);
    void reportSaveFailure(const QString &fileName);
    void reportKeptOriginal(const QString &fileName, const QString &copyName);
    void showWarning(const QString &text);

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
    ReadingState *m_readingState = nullptr; // file beside Config.xml
    ReadingPositions *m_readingPositions = nullptr;
    ComfortPanel *m_comfortPanel = nullptr; // in widget_6 of the 显示 page

    // The only shortcuts that work while the user types in a text field.
    QList<QKeySequence> m_findKeys;
    QShortcut *m_leaveFullScreen = nullptr; // Esc, on only in full screen
    // What full screen hid, shown again when it ends; and the docks as they
    // were, which is what the window keeps for the next start.
    QList<QPointer<QWidget>> m_hiddenForFullScreen;
    QByteArray m_stateBeforeFullScreen;
    ChapterPanel *m_chapterPanel = nullptr; // docked on the window
    QProgressBar *m_loadProgress = nullptr; // floats over the text view, its parent

    // The form's title, which the file name and chapter are put before.
    QString m_appTitle;

    // Set only while loadConfig fills the interval spin boxes, so that
    // showing the stored values does not start scrolling or save.
    bool m_loadingConfig = false;
    // A store that cannot save fails at every change; once per run is enough.
    bool m_toldSaveFailure = false;
};

#endif // MAINFORM_H
