#include "display/controls/ColorValue.h"

namespace
{

// Palette roles standing in for the system colour indexes 0..24.
constexpr QPalette::ColorRole kSystemRoles[] = {
    QPalette::Button,          // scroll bar
    QPalette::Dark,            // desktop
    QPalette::Highlight,       // active caption
    QPalette::Mid,             // inactive caption
    QPalette::Window,          // menu
    QPalette::Base,            // window
    QPalette::Shadow,          // window frame
    QPalette::WindowText,      // menu text
    QPalette::Text,            // window text
    QPalette::HighlightedText, // caption text
    QPalette::Button,          // active border
    QPalette::Button,          // inactive border
    QPalette::Dark,            // application work space
    QPalette::Highlight,       // highlight
    QPalette::HighlightedText, // highlight text
    QPalette::Button,          // button face
    QPalette::Mid,             // button shadow
    QPalette::PlaceholderText, // grey text
    QPalette::ButtonText,      // button text
    QPalette::WindowText,      // inactive caption text
    QPalette::Light,           // button highlight
    QPalette::Shadow,          // 3D dark shadow
    QPalette::Midlight,        // 3D light
    QPalette::ToolTipText,     // info text
    QPalette::ToolTipBase,     // info background
};

} // namespace

QColor ResolveColor(TColor value, const QPalette& palette)
{
    const auto bits = static_cast<quint32>(value);
    if (bits & 0x80000000u) {
        const quint32 index = bits & 0xFFu;
        const auto count = sizeof(kSystemRoles) / sizeof(kSystemRoles[0]);
        return palette.color(index < count ? kSystemRoles[index] : QPalette::Window);
    }
    return QColor(int(bits & 0xFFu), int((bits >> 8) & 0xFFu), int((bits >> 16) & 0xFFu));
}
