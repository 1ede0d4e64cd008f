#include "TextCodecMenu.h"

#include "TextDisplay.h"

#include <QCoreApplication>
#include <QMenu>

#include <cassert>

namespace
{

// Codec numbers of TextDisplay::openFile
const int LocalCodePage = 0;
const int Utf8 = 1;

} // namespace

TextCodecMenu::TextCodecMenu(QObject *parent) : QObject(parent), m_menu(new QMenu)
{
    createActions();
}

TextCodecMenu::~TextCodecMenu()
{
    delete m_menu;
}

void TextCodecMenu::setTextDisplay(TextDisplay *display)
{
    m_textDisplay = display;
}

void TextCodecMenu::createActions()
{
    m_ansiAction = m_menu->addAction(QCoreApplication::translate("QObject", "ANSI 编码"));
    m_utf8Action = m_menu->addAction(QCoreApplication::translate("QObject", "UTF-8 编码"));
    connect(m_ansiAction, &QAction::triggered, this, &TextCodecMenu::menuClick);
    connect(m_utf8Action, &QAction::triggered, this, &TextCodecMenu::menuClick);
}

// The file is read again from disk, so changes made to it since it was
// opened show up. With nothing opened yet the name is empty and the display
// reports a missing file.
void TextCodecMenu::menuClick()
{
    assert(m_textDisplay != NULL);
    // a copy: opening assigns the display's file name
    const QString fileName = m_textDisplay->m_fileName;
    if (sender() == m_ansiAction)
        m_textDisplay->openFile(fileName, false, LocalCodePage);
    else if (sender() == m_utf8Action)
        m_textDisplay->openFile(fileName, false, Utf8);
}
