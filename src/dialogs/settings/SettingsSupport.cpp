#include "dialogs/settings/SettingsSupport.h"

#include "display/controls/ColorValue.h"
#include "platform/Prompts.h"
#include "display/controls/FnpComboColor.h"

#include <QPushButton>
#include <QWidget>

namespace Settings
{

const QString kChangedQuestion = QStringLiteral("Daten wurden verändert. Übernehmen?");
const QString kDeleteQuestion = QStringLiteral("Möchtest Du diesen Eintrag löschen?");
const QString kSlashInName = QStringLiteral("Ein Kürzel darf kein \"/\" enthalten.");

QByteArray EntryName(const QByteArray& entry)
{
    const qsizetype slash = entry.indexOf('/');
    return slash < 0 ? entry : entry.left(slash);
}

QByteArray GermanColorName(const QByteArray& asciiName)
{
    QByteArray name = asciiName;
    name.replace("ae", "\xE4").replace("oe", "\xF6").replace("ue", "\xFC").replace("ss", "\xDF");
    return name;
}

void FillColorCombo(TFnpComboColor& combo)
{
    combo.clear();
    for (const TColorEntry& entry : kColorTable)
        combo.AddColor(GermanColorName(entry.Name), entry.Value);
    combo.setCurrentIndex(0);
}

QColor ToQColor(TColor color, const QWidget& widget)
{
    return ResolveColor(color, widget.palette());
}

TColor FromQColor(const QColor& color)
{
    return TColor(color.red() | (color.green() << 8) | (color.blue() << 16));
}

TFontSpec FromQFont(const QFont& font, TColor color)
{
    TFontSpec face;
    face.Name = Bytes(font.family());
    face.Size = font.pointSize() > 0 ? font.pointSize() : face.Size;
    face.Color = color;
    face.Style = (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
                 (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0);
    return face;
}

QPushButton* MakeButton(const QString& caption, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace Settings

#include <QKeyEvent>

namespace
{

class TKeyFilter : public QObject
{
public:
    TKeyFilter(QObject* parent, std::function<bool(QKeyEvent*)> filter)
        : QObject(parent), FFilter(std::move(filter))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && FFilter(static_cast<QKeyEvent*>(event)))
            return true;
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QKeyEvent*)> FFilter;
};

} // namespace

void Settings::FilterKeys(QWidget* target, std::function<bool(QKeyEvent*)> filter)
{
    target->installEventFilter(new TKeyFilter(target, std::move(filter)));
}

namespace Settings {

bool OfferPending(IPrompts& prompts, bool& pending, bool withCancel,
                  const std::function<void()>& store)
{
    if (!pending)
        return true;
    switch (prompts.Confirm(kChangedQuestion, withCancel)) {
    case IPrompts::Answer::Yes:
        store();
        return true;
    case IPrompts::Answer::No:
        pending = false;
        return true;
    case IPrompts::Answer::Cancel:
        return !withCancel;
    }
    return true;
}

} // namespace Settings
