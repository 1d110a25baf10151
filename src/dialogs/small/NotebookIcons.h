#pragma once
// The pictures of the notebook's tool buttons, drawn here rather than taken from a
// desktop theme, which may lack them.

#include <QIcon>

namespace NotebookIcons
{
enum Kind { Copy, Paste, Delete, Cut, Undo, WordWrap, Print };
QIcon Make(Kind kind);
} // namespace NotebookIcons
