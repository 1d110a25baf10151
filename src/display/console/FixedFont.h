#pragma once
// The console's pen: a font with a background colour. Colours are 32-bit values with
// red in the lowest byte; a set high bit names a system colour that is resolved from
// the application palette when drawn.

#include <QFont>
#include <QRawFont>
#include <QString>
#include <QColor>

#include <array>
#include <functional>

#include "platform/Color.h"
#include "platform/Errors.h"


// Resolves system colours against the current application palette.
QColor ColorToQColor(TColor color);


enum class TFontPitch : quint8 { fpDefault, fpVariable, fpFixed };

// Pixel metrics of a font, the fields the console sizes its cells from.
struct TTextMetric {
    int Height = 0;
    int Ascent = 0;
    int Descent = 0;
    int ExternalLeading = 0;
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
    int Overhang = 0;      // how far an italic glyph reaches past its advance
    bool FixedPitch = false;
};

// A font refused by the console ("TConsole: <face> is not fixed-pitch").
class EInvalidFont : public KmcError {
public:
    using KmcError::KmcError;
};

// One resolved font, shared by every TFixedFont with the same face, size, style and
// pitch (the counterpart of a platform font handle). Entries live until the process
// ends; there are only as many as distinct fonts were ever asked for.
struct TFontEntry {
    QFont Font;
    bool Measured = false;
    TTextMetric Metric;
    bool GlyphsReady = false;
    QRawFont Raw;
    std::array<quint32, 256> Glyphs{};  // glyph index of every Windows-1252 byte
};

namespace FontRegistry {
// Handle 0 is the null handle and matches no real font.
int HandleFor(const QString& name, int size, TFontStyles style, TFontPitch pitch);
TFontEntry& Entry(int handle);
const TTextMetric& Metrics(int handle);
// Glyph indexes and raw font for drawing; filled on first use.
const TFontEntry& Glyphs(int handle);
} // namespace FontRegistry

class TFixedFont {
public:
    TFixedFont();
    TFixedFont(const TFixedFont& other);
    TFixedFont& operator=(const TFixedFont& other);
    virtual ~TFixedFont() = default;

    // Copies BkColor, then face, size, style, colour and pitch, and notifies once. If
    // the notification throws (a refused face), BkColor is restored and the error
    // passed on; the change handler itself is never copied.
    void Assign(const TFixedFont& source);

    const QString& Name() const { return FName; }
    int Size() const { return FSize; }
    TFontStyles Style() const { return FStyle; }
    TColor Color() const { return FColor; }
    TColor BkColor() const { return FBkColor; }
    TFontPitch Pitch() const { return FPitch; }

    void SetName(const QString& name);
    void SetSize(int points);
    void SetStyle(TFontStyles style);
    void SetColor(TColor color);
    void SetBkColor(TColor color);
    void SetPitch(TFontPitch pitch);

    // Equal for fonts of equal face, size, style and pitch; 0 after SetNullHandle.
    int Handle() const { return FNull ? 0 : RealHandle(); }
    // Makes the handle null until the face, size, style or pitch is set again.
    void SetNullHandle();
    // The resolved font, also while the handle is null.
    int RealHandle() const { return FHandle >= 0 ? FHandle : LookupHandle(); }

    // Raised after every change of a property; may throw (the console refuses fonts).
    std::function<void()> OnChange;

private:
    void Changed();
    void ShapeChanged();
    int LookupHandle() const;

    // Handles of this face in each style, -1 where not yet looked up: text switches
    // between bold and plain all the time, and a registry lookup per switch would cost
    // more than the text it styles.
    static constexpr int kStyleCount = 16;

    QString FName;
    int FSize = 10;
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
    TColor FBkColor = clWindow;
    TFontPitch FPitch = TFontPitch::fpDefault;
    mutable int FHandle = -1;  // -1: not yet looked up
    mutable std::array<int, kStyleCount> FStyleHandles;
    bool FNull = false;
};
