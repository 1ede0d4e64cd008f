#ifndef ZKEDITORWINDOW_H
#define ZKEDITORWINDOW_H

#include <QMainWindow>

class QAction;
class QComboBox;
class QFontComboBox;
class QTextCharFormat;
class QTextEdit;
class ZkSkin;
class ZkTextEditHelper;

// A rich-text editor built from ZkKit's parts: ZkTextEditHelper supplies the
// editing and formatting actions and the file, print and PDF commands;
// ZkSkin supplies the "皮肤" menu. The window only names the actions, lays
// them out and asks before unsaved changes are lost.
class ZkEditorWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ZkEditorWindow(QWidget *parent = nullptr);

    bool openFile(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createComponents();
    void createFileActions();
    void initHelperActions();
    void createMenus();
    void createToolBars();
    void connectSignals();
    void restoreSkin();

    void newDocument();
    void openDocument();
    bool saveDocument();
    bool saveDocumentAs();
    void exportDocument();
    bool maybeSave();
    void formatChange(const QTextCharFormat &format);
    void updateTitle();

    QTextEdit *m_textEdit;      // central widget
    ZkTextEditHelper *m_helper; // Qt child
    ZkSkin *m_skin;             // Qt child
    QFontComboBox *m_fontCombo; // on the format tool bar
    QComboBox *m_sizeCombo;     // on the format tool bar
    QAction *m_newAction;       // the file actions are Qt children
    QAction *m_openAction;
    QAction *m_saveAction;
    QAction *m_saveAsAction;
    QAction *m_printAction;
    QAction *m_previewAction;
    QAction *m_exportAction;
    QAction *m_quitAction;
    QAction *m_fontAction;
    QAction *m_colorAction;
};

#endif // ZKEDITORWINDOW_H
