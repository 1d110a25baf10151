#include "display/controls/FontValue.h"

#include "platform/Win1252.h"

QFont ToQFont(const TFontSpec& face)
{
    QFont font(Win1252::toUnicode(face.Name));
    font.setStyleHint(QFont::TypeWriter);
    if (face.Size > 0)
        font.setPointSize(face.Size);
    font.setBold(face.Style & fsBold);
    font.setItalic(face.Style & fsItalic);
    font.setUnderline(face.Style & fsUnderline);
    font.setStrikeOut(face.Style & fsStrikeOut);
    return font;
}
