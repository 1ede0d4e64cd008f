#include "ComfortPanel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

ComfortPanel::ComfortPanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    m_sbLineSpacing =
        addSpinBox("sbLineSpacing", QCoreApplication::translate("QObject", "行距"),
                   ComfortSettings::MinLineSpacing, ComfortSettings::MaxLineSpacing, 10);
    m_sbLineSpacing->setSuffix(QStringLiteral("%"));
    m_sbLineSpacing->setToolTip(
        QCoreApplication::translate("QObject", "行与行的距离，以字体本身的行高为 100%"));

    m_sbParagraphSpacing =
        addSpinBox("sbParagraphSpacing", QCoreApplication::translate("QObject", "段距"), 0,
                   ComfortSettings::MaxParagraphSpacing, 2);
    m_sbParagraphSpacing->setToolTip(
        QCoreApplication::translate("QObject", "每段之后多留的空白，单位为像素"));

    m_sbSideMargin = addSpinBox("sbSideMargin", QCoreApplication::translate("QObject", "边距"), 0,
                                ComfortSettings::MaxSideMargin, 10);
    m_sbSideMargin->setToolTip(
        QCoreApplication::translate("QObject", "文本左右两侧的空白，单位为像素"));

    m_sbTextWidth = addSpinBox("sbTextWidth", QCoreApplication::translate("QObject", "最大宽度"), 0,
                               ComfortSettings::MaxTextWidth, 50);
    m_sbTextWidth->setSpecialValueText(QCoreApplication::translate("QObject", "不限"));
    m_sbTextWidth->setToolTip(QCoreApplication::translate(
        "QObject", "文本栏的最大宽度，单位为像素；窗口更宽时文本居中；一行至少容纳 20 个字"));

    m_btnFullScreen = new QPushButton(QCoreApplication::translate("QObject", "全屏"), this);
    m_btnFullScreen->setObjectName(QStringLiteral("btnFullScreen"));
    layout->addWidget(m_btnFullScreen);
    layout->addStretch();
}

// Typed numbers count once they are confirmed: every value changes the
// layout of the whole text and is written to disk.
QSpinBox *ComfortPanel::addSpinBox(const char *name, const QString &label, int minimum, int maximum,
                                   int step)
{
    auto *caption = new QLabel(label, this);
    auto *box = new QSpinBox(this);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, maximum);
    box->setSingleStep(step);
    box->setKeyboardTracking(false);
    box->setAccelerated(true);
    caption->setBuddy(box);
    layout()->addWidget(caption);
    layout()->addWidget(box);
    connect(box, QOverload<int>::of(&QSpinBox::valueChanged), this, &ComfortPanel::valueChanged);
    return box;
}

void ComfortPanel::setComfort(const ComfortSettings &comfort)
{
    m_showing = true;
    m_sbLineSpacing->setValue(comfort.lineSpacing);
    m_sbParagraphSpacing->setValue(comfort.paragraphSpacing);
    m_sbSideMargin->setValue(comfort.sideMargin);
    m_sbTextWidth->setValue(comfort.maxTextWidth);
    m_showing = false;
}

ComfortSettings ComfortPanel::comfort() const
{
    ComfortSettings comfort;
    comfort.lineSpacing = m_sbLineSpacing->value();
    comfort.paragraphSpacing = m_sbParagraphSpacing->value();
    comfort.sideMargin = m_sbSideMargin->value();
    comfort.maxTextWidth = m_sbTextWidth->value();
    return comfort;
}

void ComfortPanel::valueChanged()
{
    if (!m_showing)
        emit comfortChanged(comfort());
}
