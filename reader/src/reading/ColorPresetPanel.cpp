#include "ColorPresetPanel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

ColorPresetPanel::ColorPresetPanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QCoreApplication::translate("QObject", "配色"), this));
    const QStringList objectNames{QStringLiteral("btnDayColors"), QStringLiteral("btnNightColors"),
                                  QStringLiteral("btnSepiaColors")};
    const QList<Preset> all = presets();
    for (int i = 0; i < all.size(); ++i) {
        const Preset preset = all.at(i);
        auto *button = new QPushButton(preset.name, this);
        button->setObjectName(objectNames.value(i));
        // The button wears the look it gives.
        button->setStyleSheet(QStringLiteral("QPushButton { color: %1; background: %2; }")
                                  .arg(preset.text.name(), preset.back.name()));
        connect(button, &QPushButton::clicked, this,
                [this, preset] { emit presetChosen(preset.text, preset.back); });
        layout->addWidget(button);
    }
    layout->addStretch();
}

// Night is grey on near black rather than white on black: at night full
// contrast glares. Sepia is the tone of old paper.
QList<ColorPresetPanel::Preset> ColorPresetPanel::presets()
{
    return {{QCoreApplication::translate("QObject", "日间"), QColor(0x1f, 0x1f, 0x1f),
             QColor(0xff, 0xff, 0xff)},
            {QCoreApplication::translate("QObject", "夜间"), QColor(0xa8, 0xa8, 0xa0),
             QColor(0x1c, 0x1c, 0x1e)},
            {QCoreApplication::translate("QObject", "羊皮纸"), QColor(0x5b, 0x46, 0x36),
             QColor(0xf4, 0xec, 0xd8)}};
}
