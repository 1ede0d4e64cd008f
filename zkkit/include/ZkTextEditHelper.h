#ifndef ZKTEXTEDITHELPER_H
#define ZKTEXTEDITHELPER_H

#include "zkkit_export.h"

#include <QObject>
#include <QString>

class QAction;
class QActionGroup;
class QByteArray;
class QColor;
class QFont;
class QPrinter;
class QTextCharFormat;
class QTextEdit;
class QWidget;

// The usual commands of a rich-text editor around one QTextEdit: ready-made
// actions whose checked and enabled states follow the editor, character and
// paragraph formatting, and the document's files, printing and PDF export.
// The owner gives the actions texts and icons, puts them into its menus and
// tool bars, and sets m_parentWidget so the dialogs sit on its window.
class ZKKIT_EXPORT ZkTextEditHelper : public QObject
{
    Q_OBJECT

public:
    explicit ZkTextEditHelper(QObject *parent = nullptr);
    ~ZkTextEditHelper() override;

    void setTextEditWidget(QTextEdit *edit);
    void createObject();
    void initTextAction();
    void initEditAction(QTextEdit *edit);

    // Leaves an empty, unmodified document without a file name.
    void newFile(const QString &);
    // Shows the file as rich text when it looks like HTML, otherwise as plain
    // text in the encoding ZkTextDecoder detects, every byte kept (a zero
    // byte shows as a replacement character). On failure nothing changes.
    bool openFile(const QString &path);
    bool readFromHtml(const QByteArray &data);
    // The format follows the suffix: odt/odf, html/htm, md/markdown or txt;
    // any other suffix writes nothing. The old file is only replaced by a
    // completely written new one. m_fileName is left to the owner.
    bool saveFile(const QString &path);
    void printFile(const QString &title);
    // Appends ".pdf" to a name without suffix.
    void exportPdf(QString path);
    void setCurrentFileName(const QString &name);
    // Without a selection the format goes to the word under the cursor and
    // to the text typed next.
    void mergeCurrentCharFormat(const QTextCharFormat &format);
    void fontChange(const QFont &font);
    void textAlignChange(Qt::Alignment alignment);

    QTextEdit *m_textEdit;   // not owned
    QWidget *m_parentWidget; // not owned; parent of the dialogs, set by the owner
    QString m_fileName;      // empty for a new document
    // All actions and the alignment group are Qt children of this object.
    QAction *m_undoAction;
    QAction *m_redoAction;
    QAction *m_cutAction;
    QAction *m_copyAction;
    QAction *m_pasteAction;
    QAction *m_spareEditAction; // left to the owner, e.g. "select all"
    QAction *m_boldAction;
    QAction *m_italicAction;
    QAction *m_underlineAction;
    QAction *m_spareFormatAction; // left to the owner, e.g. "strike out"
    QAction *m_alignLeftAction;
    QAction *m_alignCenterAction;
    QAction *m_alignRightAction;
    QAction *m_alignJustifyAction;
    QActionGroup *m_alignGroup;

public slots:
    void setCurrentFont(const QFont &font);
    void setCurrentFontFamily(const QString &family);
    // Ignores a text that is not a positive number.
    void setCurrentFontSize(const QString &size);
    void setCurrentFontColor(const QColor &color);
    void printPreview();

private slots:
    void fontBold();
    void fontItalic();
    void fontUnderline();
    void currentCharFormatChange(const QTextCharFormat &format);
    void cursorPositionChange();
    void clipboardDataChange();
    void textAlign(QAction *action);
    void printPreviewSlot(QPrinter *printer);
    void openFontDialog();
    void openFontColorDialog();

private:
    QTextEdit *editor() const;
};

#endif // ZKTEXTEDITHELPER_H
