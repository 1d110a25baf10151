#include "FixedFont.h"

#include "display/controls/ColorValue.h"

#include "platform/Win1252.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>

#include <deque>

QColor ColorToQColor(TColor color)
{
    // Only system colours need the palette, which is costly to fetch.
    if (!(color & clSystemColor))
        return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    return ResolveColor(color, QGuiApplication::palette());
}

namespace {

struct FontKey {
    QString Name;
    int Size;
    TFontStyles Style;
    TFontPitch Pitch;
    bool operator==(const FontKey& o) const
    {
        return Size == o.Size && Style == o.Style && Pitch == o.Pitch && Name == o.Name;
    }
};

size_t qHash(const FontKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.Name, k.Size, k.Style, int(k.Pitch));
}

struct Registry {
    std::deque<TFontEntry> Entries;  // handle h lives at h - 1; deque keeps references stable
    QHash<FontKey, int> Index;
};

Registry& registry()
{
    static Registry r;
    return r;
}

TTextMetric measure(const QFont& font)
{
    const QFontMetrics fm(font);
    TTextMetric tm;
    tm.Ascent = fm.ascent();
    tm.Descent = fm.descent();
    tm.Height = tm.Ascent + tm.Descent;
    tm.ExternalLeading = qMax(0, fm.leading());
    tm.AveCharWidth = fm.horizontalAdvance(QLatin1Char('x'));
    tm.MaxCharWidth = qMax(tm.AveCharWidth, fm.maxWidth());
    if (font.italic()) {
        for (char16_t c = 33; c < 127; ++c)
            tm.Overhang = qMax(tm.Overhang, -fm.rightBearing(QChar(c)));
    }
    tm.FixedPitch = QFontInfo(font).fixedPitch();
    return tm;
}

} // namespace

namespace FontRegistry {

int HandleFor(const QString& name, int size, TFontStyles style, TFontPitch pitch)
{
    Registry& r = registry();
    const FontKey key{name, size, style, pitch};
    const auto found = r.Index.constFind(key);
    if (found != r.Index.constEnd())
        return found.value();
    TFontEntry entry;
    entry.Font = QFont(name);
    entry.Font.setPointSize(qMax(1, size));
    entry.Font.setBold(style & fsBold);
    entry.Font.setItalic(style & fsItalic);
    entry.Font.setUnderline(style & fsUnderline);
    entry.Font.setStrikeOut(style & fsStrikeOut);
    if (pitch != TFontPitch::fpDefault)
        entry.Font.setFixedPitch(pitch == TFontPitch::fpFixed);
    entry.Font.setKerning(false);
    r.Entries.push_back(std::move(entry));
    const int handle = int(r.Entries.size());
    r.Index.insert(key, handle);
    return handle;
}

TFontEntry& Entry(int handle)
{
    return registry().Entries.at(size_t(handle - 1));
}

const TTextMetric& Metrics(int handle)
{
    TFontEntry& e = Entry(handle);
    if (!e.Measured) {
        e.Metric = measure(e.Font);
        e.Measured = true;
    }
    return e.Metric;
}

const TFontEntry& Glyphs(int handle)
{
    TFontEntry& e = Entry(handle);
    if (!e.GlyphsReady) {
        e.Raw = QRawFont::fromFont(e.Font);
        QByteArray all(256, ' ');
        for (int i = 32; i < 256; ++i)
            all[i] = char(i);
        const QString text = Win1252::toUnicode(all);
        int count = 256;
        if (!e.Raw.isValid() || !e.Raw.glyphIndexesForChars(text.constData(), 256, e.Glyphs.data(), &count))
            e.Glyphs.fill(0);
        e.GlyphsReady = true;
    }
    return e;
}

} // namespace FontRegistry

TFixedFont::TFixedFont() : FName(QStringLiteral("Courier New")) { FStyleHandles.fill(-1); }

TFixedFont::TFixedFont(const TFixedFont& other)
    : FName(other.FName), FSize(other.FSize), FStyle(other.FStyle), FColor(other.FColor),
      FBkColor(other.FBkColor), FPitch(other.FPitch), FHandle(other.FHandle),
      FStyleHandles(other.FStyleHandles), FNull(other.FNull)
{
}

TFixedFont& TFixedFont::operator=(const TFixedFont& other)
{
    if (this != &other) {
        FName = other.FName;
        FSize = other.FSize;
        FStyle = other.FStyle;
        FColor = other.FColor;
        FBkColor = other.FBkColor;
        FPitch = other.FPitch;
        FHandle = other.FHandle;
        FStyleHandles = other.FStyleHandles;
        FNull = other.FNull;
    }
    return *this;
}

void TFixedFont::Assign(const TFixedFont& source)
{
    const TColor oldBk = FBkColor;
    FBkColor = source.FBkColor;
    try {
        FName = source.FName;
        FSize = source.FSize;
        FStyle = source.FStyle;
        FColor = source.FColor;
        FPitch = source.FPitch;
        ShapeChanged();
    } catch (...) {
        FBkColor = oldBk;
        throw;
    }
}

void TFixedFont::SetName(const QString& name)
{
    if (name != FName) {
        FName = name;
        ShapeChanged();
    }
}

void TFixedFont::SetSize(int points)
{
    if (points != FSize || FNull) {
        FSize = points;
        ShapeChanged();
    }
}

void TFixedFont::SetStyle(TFontStyles style)
{
    if (style != FStyle) {
        FStyle = style;
        FHandle = style < kStyleCount ? FStyleHandles[style] : -1;
        FNull = false;
        Changed();
    }
}

void TFixedFont::SetPitch(TFontPitch pitch)
{
    if (pitch != FPitch) {
        FPitch = pitch;
        ShapeChanged();
    }
}

void TFixedFont::SetColor(TColor color)
{
    if (color != FColor) {
        FColor = color;
        Changed();
    }
}

void TFixedFont::SetBkColor(TColor color)
{
    if (color != FBkColor) {
        FBkColor = color;
        Changed();
    }
}

int TFixedFont::LookupHandle() const
{
    FHandle = FontRegistry::HandleFor(FName, FSize, FStyle, FPitch);
    if (FStyle < kStyleCount)
        FStyleHandles[FStyle] = FHandle;
    return FHandle;
}

void TFixedFont::SetNullHandle()
{
    FNull = true;
    FSize = 0;
    FHandle = -1;
    FStyleHandles.fill(-1);
}

void TFixedFont::ShapeChanged()
{
    FHandle = -1;
    FStyleHandles.fill(-1);
    FNull = false;
    Changed();
}

void TFixedFont::Changed()
{
    if (OnChange)
        OnChange();
}
