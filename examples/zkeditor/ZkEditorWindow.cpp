#include "ZkEditorWindow.h"

#include "ZkSkin.h"
#include "ZkTextEditHelper.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>

namespace
{

QString text(const char *source)
{
    return QCoreApplication::translate("QObject", source);
}

// A glyph or a few lines drawn on the spot, for systems without an icon
// theme, in a colour that reads on light and dark skins alike.
QIcon drawnIcon(const QString &glyph, const QFont &font, Qt::Alignment lines = {},
                const QColor &colour = QColor(0x4a, 0x86, 0xc8))
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(colour, 3));
    if (lines) {
        for (int row = 0; row < 4; ++row) {
            const int width = (lines & Qt::AlignJustify) ? 26 : (row % 2 ? 18 : 26);
            const int x = (lines & Qt::AlignRight)     ? 29 - width
                          : (lines & Qt::AlignHCenter) ? (32 - width) / 2
                                                       : 3;
            painter.drawLine(x, 6 + row * 7, x + width, 6 + row * 7);
        }
    } else {
        QFont glyphFont = font;
        glyphFont.setPixelSize(glyph.size() > 1 ? 12 : 24);
        painter.setFont(glyphFont);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
    }
    return QIcon(pixmap);
}

QIcon themeIcon(const char *name, const QIcon &fallback)
{
    return QIcon::fromTheme(QLatin1String(name), fallback);
}

void describe(QAction *action, const QString &label, const QIcon &icon,
              const QKeySequence &shortcut = {})
{
    action->setText(label);
    action->setIcon(icon);
    action->setShortcut(shortcut);
}

} // namespace

ZkEditorWindow::ZkEditorWindow(QWidget *parent) : QMainWindow(parent)
{
    createComponents();
    createFileActions();
    initHelperActions();
    createMenus();
    createToolBars();
    connectSignals();
    restoreSkin();
    formatChange(m_textEdit->currentCharFormat());
    updateTitle();
    resize(900, 640);
}

bool ZkEditorWindow::openFile(const QString &path)
{
    if (!m_helper->openFile(path)) {
        QMessageBox::warning(this, text("提示"), text("无法打开文件：") + path);
        return false;
    }
    updateTitle();
    return true;
}

void ZkEditorWindow::closeEvent(QCloseEvent *event)
{
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

void ZkEditorWindow::createComponents()
{
    m_textEdit = new QTextEdit(this);
    m_textEdit->setPlaceholderText(text("在这里输入文字……"));
    setCentralWidget(m_textEdit);
    m_helper = new ZkTextEditHelper(this);
    m_helper->m_parentWidget = this;
    m_helper->setTextEditWidget(m_textEdit);
    m_skin = new ZkSkin(this);
    m_skin->init(qApp, QCoreApplication::applicationDirPath() + QStringLiteral("/skins/"),
                 text("皮肤"), text("系统原样"));
    m_fontCombo = new QFontComboBox(this);
    m_sizeCombo = new QComboBox(this);
    m_sizeCombo->setEditable(true);
    m_sizeCombo->setMinimumContentsLength(4);
    for (int size : QFontDatabase::standardSizes())
        m_sizeCombo->addItem(QString::number(size));
}

void ZkEditorWindow::createFileActions()
{
    QStyle *look = style();
    m_newAction = new QAction(this);
    describe(m_newAction, text("新建(&N)"),
             themeIcon("document-new", look->standardIcon(QStyle::SP_FileIcon)), QKeySequence::New);
    m_openAction = new QAction(this);
    describe(m_openAction, text("打开(&O)…"),
             themeIcon("document-open", look->standardIcon(QStyle::SP_DialogOpenButton)),
             QKeySequence::Open);
    m_saveAction = new QAction(this);
    describe(m_saveAction, text("保存(&S)"),
             themeIcon("document-save", look->standardIcon(QStyle::SP_DialogSaveButton)),
             QKeySequence::Save);
    m_saveAsAction = new QAction(this);
    describe(m_saveAsAction, text("另存为(&A)…"), themeIcon("document-save-as", QIcon()),
             QKeySequence::SaveAs);
    m_printAction = new QAction(this);
    describe(m_printAction, text("打印(&P)…"), themeIcon("document-print", QIcon()),
             QKeySequence::Print);
    m_previewAction = new QAction(this);
    describe(m_previewAction, text("打印预览(&V)…"), themeIcon("document-print-preview", QIcon()));
    m_exportAction = new QAction(this);
    describe(m_exportAction, text("导出 PDF(&E)…"),
             themeIcon("document-export", drawnIcon(QStringLiteral("PDF"), font(), {}, Qt::red)));
    m_quitAction = new QAction(this);
    describe(m_quitAction, text("退出(&Q)"),
             themeIcon("application-exit", look->standardIcon(QStyle::SP_DialogCloseButton)),
             QKeySequence::Quit);
    m_fontAction = new QAction(this);
    describe(m_fontAction, text("字体(&F)…"),
             themeIcon("preferences-desktop-font", drawnIcon(QStringLiteral("A"), font())));
    m_colorAction = new QAction(this);
    describe(m_colorAction, text("文字颜色(&C)…"),
             themeIcon("format-text-color", drawnIcon(QStringLiteral("A"), font(), {}, Qt::red)));
}

void ZkEditorWindow::initHelperActions()
{
    const QFont glyph = font();
    describe(m_helper->m_undoAction, text("撤销(&U)"), themeIcon("edit-undo", QIcon()),
             QKeySequence::Undo);
    describe(m_helper->m_redoAction, text("重做(&R)"), themeIcon("edit-redo", QIcon()),
             QKeySequence::Redo);
    describe(m_helper->m_cutAction, text("剪切(&T)"), themeIcon("edit-cut", QIcon()),
             QKeySequence::Cut);
    describe(m_helper->m_copyAction, text("复制(&C)"), themeIcon("edit-copy", QIcon()),
             QKeySequence::Copy);
    describe(m_helper->m_pasteAction, text("粘贴(&P)"), themeIcon("edit-paste", QIcon()),
             QKeySequence::Paste);
    describe(m_helper->m_spareEditAction, text("全选(&A)"), themeIcon("edit-select-all", QIcon()),
             QKeySequence::SelectAll);
    QFont bold = glyph, italic = glyph, underline = glyph, strike = glyph;
    bold.setBold(true);
    italic.setItalic(true);
    underline.setUnderline(true);
    strike.setStrikeOut(true);
    describe(m_helper->m_boldAction, text("粗体(&B)"),
             themeIcon("format-text-bold", drawnIcon(QStringLiteral("B"), bold)),
             QKeySequence::Bold);
    describe(m_helper->m_italicAction, text("斜体(&I)"),
             themeIcon("format-text-italic", drawnIcon(QStringLiteral("I"), italic)),
             QKeySequence::Italic);
    describe(m_helper->m_underlineAction, text("下划线(&U)"),
             themeIcon("format-text-underline", drawnIcon(QStringLiteral("U"), underline)),
             QKeySequence::Underline);
    m_helper->m_spareFormatAction->setCheckable(true);
    describe(m_helper->m_spareFormatAction, text("删除线(&K)"),
             themeIcon("format-text-strikethrough", drawnIcon(QStringLiteral("S"), strike)));
    describe(m_helper->m_alignLeftAction, text("左对齐(&L)"),
             themeIcon("format-justify-left", drawnIcon({}, glyph, Qt::AlignLeft)));
    describe(m_helper->m_alignCenterAction, text("居中(&E)"),
             themeIcon("format-justify-center", drawnIcon({}, glyph, Qt::AlignHCenter)));
    describe(m_helper->m_alignRightAction, text("右对齐(&R)"),
             themeIcon("format-justify-right", drawnIcon({}, glyph, Qt::AlignRight)));
    describe(m_helper->m_alignJustifyAction, text("两端对齐(&J)"),
             themeIcon("format-justify-fill", drawnIcon({}, glyph, Qt::AlignJustify)));
}

void ZkEditorWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(text("文件(&F)"));
    file->addActions({m_newAction, m_openAction, m_saveAction, m_saveAsAction});
    file->addSeparator();
    file->addActions({m_printAction, m_previewAction, m_exportAction});
    file->addSeparator();
    file->addAction(m_quitAction);

    QMenu *edit = menuBar()->addMenu(text("编辑(&E)"));
    edit->addActions({m_helper->m_undoAction, m_helper->m_redoAction});
    edit->addSeparator();
    edit->addActions({m_helper->m_cutAction, m_helper->m_copyAction, m_helper->m_pasteAction});
    edit->addSeparator();
    edit->addAction(m_helper->m_spareEditAction);

    QMenu *format = menuBar()->addMenu(text("格式(&O)"));
    format->addActions({m_helper->m_boldAction, m_helper->m_italicAction,
                        m_helper->m_underlineAction, m_helper->m_spareFormatAction});
    format->addSeparator();
    format->addActions({m_fontAction, m_colorAction});
    format->addSeparator();
    format->addActions(m_helper->m_alignGroup->actions());

    // ZkSkin owns its menu; the menu bar only shows it.
    menuBar()->addMenu(m_skin->m_menu);
}

void ZkEditorWindow::createToolBars()
{
    QToolBar *file = addToolBar(text("文件"));
    file->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    file->addActions({m_newAction, m_openAction, m_saveAction, m_printAction, m_exportAction});
    QToolBar *edit = addToolBar(text("编辑"));
    edit->addActions({m_helper->m_undoAction, m_helper->m_redoAction, m_helper->m_cutAction,
                      m_helper->m_copyAction, m_helper->m_pasteAction});
    addToolBarBreak();
    QToolBar *format = addToolBar(text("格式"));
    format->addWidget(m_fontCombo);
    format->addWidget(m_sizeCombo);
    format->addActions({m_helper->m_boldAction, m_helper->m_italicAction,
                        m_helper->m_underlineAction, m_helper->m_spareFormatAction, m_colorAction});
    format->addSeparator();
    format->addActions(m_helper->m_alignGroup->actions());
}

void ZkEditorWindow::connectSignals()
{
    connect(m_newAction, &QAction::triggered, this, &ZkEditorWindow::newDocument);
    connect(m_openAction, &QAction::triggered, this, &ZkEditorWindow::openDocument);
    connect(m_saveAction, &QAction::triggered, this, &ZkEditorWindow::saveDocument);
    connect(m_saveAsAction, &QAction::triggered, this, &ZkEditorWindow::saveDocumentAs);
    connect(m_printAction, &QAction::triggered, this,
            [this] { m_helper->printFile(text("打印文档")); });
    connect(m_previewAction, &QAction::triggered, m_helper, &ZkTextEditHelper::printPreview);
    connect(m_exportAction, &QAction::triggered, this, &ZkEditorWindow::exportDocument);
    connect(m_quitAction, &QAction::triggered, this, &QWidget::close);
    // The two dialogs are private slots of the helper, reachable by signature.
    connect(m_fontAction, SIGNAL(triggered()), m_helper, SLOT(openFontDialog()));
    connect(m_colorAction, SIGNAL(triggered()), m_helper, SLOT(openFontColorDialog()));
    connect(m_helper->m_spareEditAction, &QAction::triggered, m_textEdit, &QTextEdit::selectAll);
    connect(m_helper->m_spareFormatAction, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontStrikeOut(on);
        m_helper->mergeCurrentCharFormat(format);
    });
    connect(m_fontCombo, &QComboBox::textActivated, m_helper,
            &ZkTextEditHelper::setCurrentFontFamily);
    connect(m_sizeCombo, &QComboBox::textActivated, m_helper,
            &ZkTextEditHelper::setCurrentFontSize);
    connect(m_textEdit, &QTextEdit::currentCharFormatChanged, this, &ZkEditorWindow::formatChange);
    connect(m_textEdit->document(), &QTextDocument::modificationChanged, this,
            &QWidget::setWindowModified);
    connect(m_skin, &ZkSkin::skinChange, this,
            [](const QString &name) { QSettings().setValue(QStringLiteral("skin"), name); });
}

void ZkEditorWindow::restoreSkin()
{
    const QString name = QSettings().value(QStringLiteral("skin")).toString();
    if (m_skin->m_skinNames.contains(name))
        m_skin->setSkinName(name);
}

void ZkEditorWindow::newDocument()
{
    if (!maybeSave())
        return;
    m_helper->newFile(QString());
    updateTitle();
}

void ZkEditorWindow::openDocument()
{
    if (!maybeSave())
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, text("打开"), QString(), text("文档 (*.html *.htm *.txt *.md *.odt);;所有文件 (*)"));
    if (!path.isEmpty())
        openFile(path);
}

bool ZkEditorWindow::saveDocument()
{
    if (m_helper->m_fileName.isEmpty())
        return saveDocumentAs();
    if (!m_helper->saveFile(m_helper->m_fileName)) {
        QMessageBox::warning(this, text("提示"), text("无法保存文件：") + m_helper->m_fileName);
        return false;
    }
    statusBar()->showMessage(text("已保存：") + m_helper->m_fileName, 5000);
    return true;
}

bool ZkEditorWindow::saveDocumentAs()
{
    QString path = QFileDialog::getSaveFileName(
        this, text("另存为"), m_helper->m_fileName,
        text("HTML 文档 (*.html *.htm);;OpenDocument 文本 (*.odt);;纯文本 (*.txt);;"
             "Markdown (*.md)"));
    if (path.isEmpty())
        return false;
    // The suffix picks the format; a bare name is saved as HTML.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".html");
    if (!m_helper->saveFile(path)) {
        QMessageBox::warning(this, text("提示"), text("无法保存文件：") + path);
        return false;
    }
    m_helper->setCurrentFileName(path);
    updateTitle();
    return true;
}

void ZkEditorWindow::exportDocument()
{
    const QFileInfo current(m_helper->m_fileName);
    const QString suggestion = current.fileName().isEmpty()
                                   ? QString()
                                   : current.absolutePath() + QLatin1Char('/') +
                                         current.completeBaseName() + QStringLiteral(".pdf");
    const QString path =
        QFileDialog::getSaveFileName(this, text("导出 PDF"), suggestion, text("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    m_helper->exportPdf(path);
    statusBar()->showMessage(text("已导出：") + path, 5000);
}

bool ZkEditorWindow::maybeSave()
{
    if (!m_textEdit->document()->isModified())
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, text("提示"), text("文档已修改，要保存吗？"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return saveDocument();
    return answer == QMessageBox::Discard;
}

void ZkEditorWindow::formatChange(const QTextCharFormat &format)
{
    const QFont font = format.font();
    m_fontCombo->setCurrentFont(font);
    if (font.pointSizeF() > 0)
        m_sizeCombo->setCurrentText(QString::number(font.pointSizeF()));
    m_helper->m_spareFormatAction->setChecked(font.strikeOut());
}

void ZkEditorWindow::updateTitle()
{
    const QString name = m_helper->m_fileName.isEmpty()
                             ? text("未命名")
                             : QFileInfo(m_helper->m_fileName).fileName();
    setWindowTitle(name + QStringLiteral("[*] - ") + text("ZkKit 示例编辑器"));
    setWindowModified(m_textEdit->document()->isModified());
}
