#pragma once
// Helpers shared by the pages of the settings dialog.

#include "config/MudConfig.h"
#include "display/controls/FontValue.h"

#include <QFont>
#include <QString>

class IPrompts;
class ICommonDialogs;
class QAbstractButton;
class QPushButton;
class QWidget;
class TFnpComboColor;

// What every page works on. Config is the dialog's private copy.
struct TSettingsContext {
    TMudConfig& Config;
    IPrompts& Prompts;
    ICommonDialogs& Dialogs;
    bool Loading = false; // true while the controls are being filled
};

namespace Settings
{

extern const QString kChangedQuestion; // "Daten wurden verändert. Übernehmen?"

// Offers a pending edit before another entry is shown: "&Ja" stores it, "&Nein" drops
// it. False only when the player cancels (possible only withCancel).
bool OfferPending(IPrompts& prompts, bool& pending, bool withCancel,
                  const std::function<void()>& store);
extern const QString kDeleteQuestion;  // lists and highlights
extern const QString kSlashInName;     // refusal of names the entry format cannot hold

inline QString Text(const QByteArray& bytes);
inline QByteArray Bytes(const QString& text);

// The name of a list entry: the text before its first "/", the whole entry without one.
QByteArray EntryName(const QByteArray& entry);

// A colour-table name as the dialog shows it: ae, oe, ue and ss become umlauts and ß.
QByteArray GermanColorName(const QByteArray& asciiName);
// The 16 table colours in table order with their German names; the first is selected.
void FillColorCombo(TFnpComboColor& combo);

// QColor of a colour value; system colours resolved against the widget's palette.
QColor ToQColor(TColor color, const QWidget& widget);
TColor FromQColor(const QColor& color);
TFontSpec FromQFont(const QFont& font, TColor color);

// A button that never becomes the default: Enter in a value field must not close the
// dialog or press a button the player did not mean.
QPushButton* MakeButton(const QString& caption, const QString& name, QWidget* parent);

} // namespace Settings

#include "platform/Win1252.h"

inline QString Settings::Text(const QByteArray& bytes)
{
    return Win1252::toUnicode(bytes);
}
inline QByteArray Settings::Bytes(const QString& text)
{
    return Win1252::fromUnicode(text);
}

#include <functional>

class QKeyEvent;
class QObject;

namespace Settings
{
// Lets filter see every key press of target first; filter returns true to discard it.
// The filter object is a child of target.
void FilterKeys(QWidget* target, std::function<bool(QKeyEvent*)> filter);
} // namespace Settings
