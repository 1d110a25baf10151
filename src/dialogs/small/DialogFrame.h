#pragma once
// What the small dialogs share: a fixed client area laid out in pixels with a 13-pixel
// font, and placement in the middle of the screen rather than over the main window.

class QWidget;

namespace DialogFrame
{

// Fixed dialog border with the given client size and the 13-pixel dialog font.
void SetupFixed(QWidget* dialog, int width, int height);
// Centres the window on the screen it will appear on; call before showing it.
void CenterOnScreen(QWidget* window);

} // namespace DialogFrame
