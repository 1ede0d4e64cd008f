#include "TextCodecMenu.h"

#include "TextDisplay.h"
#include "TextEncoding.h"
#include "ZkTextDecoder.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <cassert>

TextCodecMenu::TextCodecMenu(QObject *parent) : QObject(parent), m_menu(new QMenu)
{
    m_codecGroup = new QActionGroup(m_menu);
    // nothing is checked while no file is open
    m_codecGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    createActions();
}

TextCodecMenu::~TextCodecMenu()
{
    delete m_menu;
}

void TextCodecMenu::setTextDisplay(TextDisplay *display)
{
    m_textDisplay = display;
    connect(display, &TextDisplay::codecChanged, this, &TextCodecMenu::showCodec);
    showCodec(display->codec());
}

void TextCodecMenu::setCodecLabel(QLabel *label)
{
    m_codecLabel = label;
    // The label is as wide as the longest name, so that the controls beside
    // it stay put when the encoding changes; its width follows its font.
    label->installEventFilter(this);
    fitCodecLabel();
    showCodec(m_textDisplay != nullptr ? m_textDisplay->codec() : -1);
}

void TextCodecMenu::createActions()
{
    m_ansiAction = addCodecAction(QCoreApplication::translate("QObject", "ANSI 编码"),
                                  ZkTextDecoder::LocalCodePage);
    m_utf8Action =
        addCodecAction(QCoreApplication::translate("QObject", "UTF-8 编码"), ZkTextDecoder::Utf8);
    m_menu->addSeparator();
    addCodecAction(QCoreApplication::translate("QObject", "GB18030 编码"), ZkTextDecoder::Gb18030);
    addCodecAction(QCoreApplication::translate("QObject", "Big5 编码"), ZkTextDecoder::Big5);
    addCodecAction(QCoreApplication::translate("QObject", "UTF-16 LE 编码"),
                   ZkTextDecoder::Utf16LittleEndian);
    addCodecAction(QCoreApplication::translate("QObject", "UTF-16 BE 编码"),
                   ZkTextDecoder::Utf16BigEndian);
}

QAction *TextCodecMenu::addCodecAction(const QString &text, int codec)
{
    QAction *action = m_menu->addAction(text);
    action->setData(codec);
    action->setCheckable(true);
    m_codecGroup->addAction(action);
    connect(action, &QAction::triggered, this, &TextCodecMenu::menuClick);
    return action;
}

// The file is read again from disk, so changes made to it since it was
// opened show up. With nothing opened yet the name is empty and the display
// reports a missing file. The reading position is kept as a character
// position, which the same text has in any encoding that suits it.
void TextCodecMenu::menuClick()
{
    assert(m_textDisplay != NULL);
    const auto *action = qobject_cast<QAction *>(sender());
    if (action == nullptr || action->actionGroup() != m_codecGroup)
        return;
    OpenRequest request;
    request.fileName = m_textDisplay->m_fileName;
    request.codec = action->data().toInt();
    // At the start the view stays as a new text shows it, with the margin
    // above the first line.
    const int position = m_textDisplay->topPosition();
    request.position = position > 0 ? position : -1;
    request.fraction = 0;
    request.listed = false;
    emit openRequested(request);
    // the triggered entry checked itself, whether it was read so or not
    showCodec(m_textDisplay->codec());
}

void TextCodecMenu::showCodec(int codec)
{
    if (codec >= 0)
        actionFor(codec)->setChecked(true);
    else if (m_codecGroup->checkedAction() != nullptr)
        m_codecGroup->checkedAction()->setChecked(false);
    if (m_codecLabel != nullptr)
        m_codecLabel->setText(codec < 0 ? QString() : TextEncoding::name(codec));
}

// Numbers without an entry of their own decode as UTF-8 (2) or GB18030.
QAction *TextCodecMenu::actionFor(int codec) const
{
    const int entry = codec == 2 ? int(ZkTextDecoder::Utf8) : codec;
    QAction *gb18030 = nullptr;
    for (QAction *action : m_codecGroup->actions()) {
        if (action->data().toInt() == entry)
            return action;
        if (action->data().toInt() == ZkTextDecoder::Gb18030)
            gb18030 = action;
    }
    return gb18030;
}

void TextCodecMenu::fitCodecLabel()
{
    int width = 0;
    for (const QAction *action : m_codecGroup->actions()) {
        const QString name = TextEncoding::name(action->data().toInt());
        const QFontMetrics metrics = m_codecLabel->fontMetrics();
        width =
            std::max({width, metrics.horizontalAdvance(name), metrics.boundingRect(name).width()});
    }
    m_codecLabel->setMinimumWidth(width + 2 * m_codecLabel->margin());
}

bool TextCodecMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_codecLabel && event->type() == QEvent::FontChange)
        fitCodecLabel();
    return QObject::eventFilter(watched, event);
}
