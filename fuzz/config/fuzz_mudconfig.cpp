// Fuzzes the INI reader and the .mud loader with arbitrary file contents.
// Invariants: no crash or overrun; what the INI layer writes back reads back the same.
#include "config/MudConfig.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static bool ready = [] {
        ProgramFolder::setOverride(dir.path());
        return QDir().mkpath(dir.filePath("conf"));
    }();
    if (!ready)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    TIniFile ini;
    ini.Parse(bytes);
    const QByteArray once = ini.ToBytes();
    TIniFile again;
    again.Parse(once);
    if (again.ToBytes() != once)
        abort();

    QFile f(dir.filePath("conf/f.mud"));
    if (!f.open(QIODevice::WriteOnly))
        return 0;
    f.write(bytes);
    f.close();
    TMudConfig config;
    if (config.LoadFromFile("f") == 0) {
        int index = 0;
        TMHighlight h;
        QString error;
        for (int i = 0; i < config.FHighlights.size(); ++i) {
            index = i;
            config.TryGetHighlight("", index, h, &error);
        }
        if (config.FNumPadsList.Count() > int(size))
            abort();
        config.SaveToFile("g");
    }
    return 0;
}
