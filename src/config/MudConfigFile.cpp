// The .mud file form of TMudConfig.
#include "MudConfig.h"

#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Win1252.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QByteArray kVersion = "V1.0b1";
const char* const kListSections[5] = {"Alias", "Highlight", "Path", "Sessions", "Tabs"};
const char* const kFontSections[3] = {"LW", "OW", "NW"};

// Blanks after a single value (a hand-edited "Value=V1.0b1 ") are no part of it.
QByteArray ReadSingle(const TIniFile& ini, const QByteArray& section, const QByteArray& key,
                      const QByteArray& def)
{
    QByteArray value = ini.ReadString(section, key, def);
    while (value.endsWith(' ') || value.endsWith('\t'))
        value.chop(1);
    return value;
}

TOutputWindow ReadFontRecord(const TIniFile& ini, const QByteArray& section)
{
    TOutputWindow w;
    w.FFont.Name = ReadSingle(ini, section, "Name", "Courier New");
    w.FFont.Color = ini.ReadInteger(section, "Color", 0);
    w.FFont.Size = ini.ReadInteger(section, "Size", 9);
    w.FFont.Style = ini.ReadInteger(section, "Style", 0) & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    w.BGColor = ini.ReadInteger(section, "BGColor", 16777215);
    return w;
}

void WriteFontRecord(TIniFile& ini, const QByteArray& section, const TOutputWindow& w)
{
    ini.WriteString(section, "Name", w.FFont.Name);
    ini.WriteInteger(section, "Color", w.FFont.Color);
    ini.WriteInteger(section, "Size", w.FFont.Size);
    ini.WriteInteger(section, "Style", w.FFont.Style);
    ini.WriteInteger(section, "BGColor", w.BGColor);
}

QByteArray NumPadKey(const char* prefix, int layout)
{
    return prefix + QByteArray::number(layout);
}

QByteArray NumPadKey(int layout, int slot)
{
    return "Key_" + QByteArray::number(layout) + '_' + QByteArray::number(slot);
}

bool DescribesLayout(const TIniFile& ini, int layout)
{
    if (ini.ValueExists("NumPad", NumPadKey("Name_", layout)) ||
        ini.ValueExists("NumPad", NumPadKey("Option_", layout)))
        return true;
    for (int k = 1; k < kNumPadSlots; ++k)
        if (ini.ValueExists("NumPad", NumPadKey(layout, k)))
            return true;
    return false;
}

} // namespace

QString TMudConfig::ResolveFileName(const QString& fileName)
{
    QString name = fileName;
    name.replace('\\', '/');
    const qsizetype slash = name.lastIndexOf('/');
    QString dir = name.left(slash + 1);
    QString file = name.mid(slash + 1);
    if (dir.isEmpty())
        dir = ProgramFolder::path() + "conf/";
    const qsizetype dot = file.lastIndexOf('.');
    if (dot >= 0)
        file.truncate(dot);
    file += ".mud";
    return QDir::cleanPath(QDir::current().absoluteFilePath(dir + file));
}

bool TMudConfig::IsDefaultFile(const QString& fileName)
{
    return ResolveFileName(fileName).compare(ResolveFileName("default"), Qt::CaseInsensitive) == 0;
}

int TMudConfig::LoadFromFile(const QString& fileName)
{
    FFileName = ResolveFileName(fileName);
    const QFileInfo info(FFileName);
    if (!info.exists() || info.isDir())
        return -1;
    TIniFile ini(FFileName);
    if (!ini.Load())
        return -3;
    if (ReadSingle(ini, "Version", "Value", QByteArray()) != kVersion)
        return -2;

    FAliases.clear();
    FHighlights.clear();
    FPaths.clear();
    FSessions.clear();
    FTabs.clear();
    FNumPadsList.ClearLayouts();
    FLogWindow = ReadFontRecord(ini, kFontSections[0]);
    FOutputWindow = ReadFontRecord(ini, kFontSections[1]);
    FNoteWindow = ReadFontRecord(ini, kFontSections[2]);
    LoadLists(ini);
    LoadNumPads(ini);
    LoadSettings(ini);
    FModified = false;
    return 0;
}

void TMudConfig::LoadLists(const TIniFile& ini)
{
    TStringList* lists[5] = {&FAliases, &FHighlights, &FPaths, &FSessions, &FTabs};
    for (int s = 0; s < 5; ++s)
        for (const QByteArray& value : ini.ReadSectionValues(kListSections[s]))
            if (!value.isEmpty())
                lists[s]->append(value);

    // Count is the highest index; the array ends at 20 whatever a hand-edited file says.
    const int funcCount = qMin(ini.ReadInteger("Func", "Count", -1), kFuncKeyCount - 1);
    for (int i = 0; i <= funcCount; ++i)
        FFuncKeys[i] = ini.ReadString("Func", QByteArray::number(i), QByteArray());
}

void TMudConfig::LoadNumPads(const TIniFile& ini)
{
    // A hand-edited Count beyond the layouts the file describes would only add empty
    // layouts nobody wrote (and, when huge, never end): reading stops at the first
    // layout without a key of its own.
    const int lines = int(ini.ReadSectionKeys("NumPad").size());
    const int count = qMin(ini.ReadInteger("NumPad", "Count", -1), lines - 1);
    for (int i = 0; i <= count && DescribesLayout(ini, i); ++i) {
        const int l = FNumPadsList.AddLayout(ini.ReadString("NumPad", NumPadKey("Name_", i), ""));
        TNumPadLayout& layout = FNumPadsList.Items(l);
        for (int k = 1; k < kNumPadSlots; ++k)
            layout.Keys[k] = ini.ReadString("NumPad", NumPadKey(i, k), "").left(kNumPadKeyLength);
        layout.Option = ini.ReadInteger("NumPad", NumPadKey("Option_", i), 0);
    }
}

void TMudConfig::LoadSettings(const TIniFile& ini)
{
    FShadeFromColor = ini.ReadInteger("Shade", "FC", 13);
    FShadeToColor = ini.ReadInteger("Shade", "TC", 1);
    FShadeSteps = ini.ReadInteger("Shade", "Steps", 20);
    FShadeDirection = ini.ReadBool("Shade", "Dir", false);
    FAliasCase = ini.ReadBool("Div", "AC", true);
    FAutoConnect = ini.ReadBool("Div", "Auto", false);
    FAutoLog = ini.ReadBool("Div", "AutoLog", false);
    FAutoSave = ini.ReadBool("Div", "Save", false);
    FHost = ReadSingle(ini, "Div", "Host", "");
    FLogFile = ReadSingle(ini, "Div", "LogFile", "");
    FLogOverwrite = ini.ReadBool("Div", "Log", false);
    FClearInput = ini.ReadBool("Div", "Clear", false);
    FPort = ReadSingle(ini, "Div", "Port", "7600");
    FSaveInterval = ini.ReadInteger("Div", "Interval", 600);
    FTabCase = ini.ReadBool("Div", "TC", true);
}

int TMudConfig::SaveToFile(const QString& fileName)
{
    FFileName = ResolveFileName(fileName);
    TIniFile ini(FFileName);
    if (!ini.Load())
        return -3;
    ini.WriteString("Version", "Value", kVersion);
    WriteFontRecord(ini, kFontSections[0], FLogWindow);
    WriteFontRecord(ini, kFontSections[1], FOutputWindow);
    WriteFontRecord(ini, kFontSections[2], FNoteWindow);
    SaveLists(ini);
    SaveNumPads(ini);
    SaveSettings(ini);
    if (!ini.Save())
        throw EWriteError(QStringLiteral("Kann nicht nach %1 schreiben").arg(FFileName));
    FModified = false;
    return 0;
}

void TMudConfig::SaveLists(TIniFile& ini) const
{
    const TStringList* lists[5] = {&FAliases, &FHighlights, &FPaths, &FSessions, &FTabs};
    for (int s = 0; s < 5; ++s) {
        ini.EraseSection(kListSections[s]);
        for (int i = 0; i < lists[s]->size(); ++i)
            ini.WriteString(kListSections[s], QByteArray::number(i), lists[s]->at(i));
    }
    ini.WriteInteger("Func", "Count", kFuncKeyCount - 1);
    for (int i = 0; i < kFuncKeyCount; ++i)
        ini.WriteString("Func", QByteArray::number(i), FFuncKeys[i]);
}

void TMudConfig::SaveNumPads(TIniFile& ini) const
{
    ini.WriteInteger("NumPad", "Count", FNumPadsList.Count() - 1);
    for (int i = 0; i < FNumPadsList.Count(); ++i) {
        const TNumPadLayout& layout = FNumPadsList.Items(i);
        ini.WriteString("NumPad", NumPadKey("Name_", i), layout.Name);
        for (int k = 1; k < kNumPadSlots; ++k)
            ini.WriteString("NumPad", NumPadKey(i, k), layout.Keys[k]);
        ini.WriteInteger("NumPad", NumPadKey("Option_", i), layout.Option);
    }
}

void TMudConfig::SaveSettings(TIniFile& ini) const
{
    ini.WriteInteger("Shade", "FC", FShadeFromColor);
    ini.WriteInteger("Shade", "TC", FShadeToColor);
    ini.WriteInteger("Shade", "Steps", FShadeSteps);
    ini.WriteBool("Shade", "Dir", FShadeDirection);
    ini.WriteBool("Div", "AC", FAliasCase);
    ini.WriteBool("Div", "Auto", FAutoConnect);
    ini.WriteBool("Div", "AutoLog", FAutoLog);
    ini.WriteBool("Div", "Save", FAutoSave);
    ini.WriteString("Div", "Host", FHost);
    ini.WriteString("Div", "Logfile", FLogFile);
    ini.WriteBool("Div", "Log", FLogOverwrite);
    ini.WriteBool("Div", "Clear", FClearInput);
    ini.WriteString("Div", "Port", FPort);
    ini.WriteInteger("Div", "Interval", FSaveInterval);
    ini.WriteBool("Div", "TC", FTabCase);
}
