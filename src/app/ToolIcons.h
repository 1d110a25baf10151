#pragma once
// The pictures of the tool buttons, drawn here so they look the same everywhere.

#include <QIcon>

namespace ToolIcons {
enum Kind { Connect, Disconnect, Path, CommandCenter, Settings, FuncKeys, Numpad, Close, App };
QIcon Make(Kind kind);
} // namespace ToolIcons
