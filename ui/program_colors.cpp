#include "ui/program_colors.h"

#include <QApplication>
#include <QPalette>

#include "ui/chart_renderer.h"

namespace celestra {

void applyProgramColors(const CColorScheme& scheme) {
    const QColor text = colorOf(scheme.colors[DialogText]);
    const QColor background = colorOf(scheme.colors[DialogBackground]);
    const QColor menuText = colorOf(scheme.colors[MenuText]);
    const QColor menuBackground = colorOf(scheme.colors[MenuBackground]);
    // Edit fields a shade off the dialog background, so they read as fields.
    const QColor base = background.lightness() > 128 ? background.lighter(115) : background.darker(140);

    QPalette p;
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor t =
            g == QPalette::Disabled ? QColor::fromRgbF(text.redF(), text.greenF(), text.blueF(), 0.5) : text;
        p.setColor(g, QPalette::Window, background);
        p.setColor(g, QPalette::WindowText, t);
        p.setColor(g, QPalette::Base, base);
        p.setColor(g, QPalette::AlternateBase, background);
        p.setColor(g, QPalette::Text, t);
        p.setColor(g, QPalette::Button, background);
        p.setColor(g, QPalette::ButtonText, t);
        p.setColor(g, QPalette::ToolTipBase, background);
        p.setColor(g, QPalette::ToolTipText, t);
        p.setColor(g, QPalette::PlaceholderText, t);
        p.setColor(g, QPalette::Highlight, menuBackground);
        p.setColor(g, QPalette::HighlightedText, menuText);
        p.setColor(g, QPalette::Light, background.lighter(130));
        p.setColor(g, QPalette::Midlight, background.lighter(115));
        p.setColor(g, QPalette::Mid, background.darker(130));
        p.setColor(g, QPalette::Dark, background.darker(160));
        p.setColor(g, QPalette::Shadow, background.darker(250));
        p.setColor(g, QPalette::BrightText, t);
    }
    QApplication::setPalette(p);
    // Menus follow the menu keys; their selected entry swaps the two colours.
    qApp->setStyleSheet(
        QStringLiteral("QMenuBar, QMenu { background-color: %1; color: %2; }"
                       "QMenuBar::item:selected, QMenu::item:selected { background-color: %2; color: %1; }"
                       "QMenu::item:disabled { color: %3; }")
            .arg(menuBackground.name(), menuText.name(),
                 QColor((menuText.red() + menuBackground.red()) / 2, (menuText.green() + menuBackground.green()) / 2,
                        (menuText.blue() + menuBackground.blue()) / 2)
                     .name()));
}

}  // namespace celestra
