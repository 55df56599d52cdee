#include "platform/qt/dialog_palette.h"

namespace sif::qt {

QPalette LightDialogPalette(const QColor& background, const QColor& text) {
    // Light, mid, dark and shadow shades from the background; the other
    // roles below, so that every role is set.
    QPalette palette(background, background);
    const QColor grayText(109, 109, 109);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        palette.setColor(group, QPalette::WindowText, disabled ? grayText : text);
        palette.setColor(group, QPalette::ButtonText, disabled ? grayText : text);
        palette.setColor(group, QPalette::Base, disabled ? background : QColor(Qt::white));
        palette.setColor(group, QPalette::AlternateBase, QColor(247, 247, 247));
        palette.setColor(group, QPalette::Text, disabled ? grayText : QColor(Qt::black));
        palette.setColor(group, QPalette::PlaceholderText, grayText);
        palette.setColor(group, QPalette::BrightText, Qt::white);
        palette.setColor(group, QPalette::Highlight,
                         disabled ? QColor(grayText) : QColor(0, 120, 215));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Link, QColor(0, 0, 255));
        palette.setColor(group, QPalette::LinkVisited, QColor(128, 0, 128));
        palette.setColor(group, QPalette::ToolTipBase, QColor(255, 255, 225));
        palette.setColor(group, QPalette::ToolTipText, Qt::black);
    }
    return palette;
}

}  // namespace sif::qt
