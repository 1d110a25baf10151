#include "Banner.h"

#include "display/output/ConsoleWriter.h"
#include "display/output/OutputSink.h"

namespace {

bool SwitchColor(char c, TColor& color)
{
    switch (c) {
    case '*': color = 0xFF0000; return true;
    case '#': color = 0x0000FF; return true;
    case '$': color = 0x00FFFF; return true;
    case '%': color = 0xFFFFFF; return true;
    default: return false;
    }
}

} // namespace

namespace Banner {

const QList<QByteArray>& Lines()
{
    static const QList<QByteArray> lines = {
        " _____________________________________________________________________________ ",
        "| ___________________________________________________________________________ |",
        "|.|                                                                         |.|",
        "| |    * __   __ *           # __    __ #     $  ______ $                         | |",
        "|.|    *|  | /  /*           #|  \\  /  |#     $ /  ____|$                         |.|",
        "| |    *|  |/  / *           #|   \\/   |#     $|  |     $                         | |",
        "|.|    *|     <  *           #|  |\\/|  |#     $|  |     $                         |.|",
        "| |    *|  |\\  \\ *           #|  |  |  |#     $|  |____ $                         | |",
        "|.|    *|__| \\__\\*%elmoth's%   #|__|  |__|#%ud%   $ \\______|$%lient%                    |.|",
        "| |                                                                         | |",
        "|.|                                                                         |.|",
        "| |                                                                         | |",
        "|.|   %Ein Client fuer textbasierte Mehrspieler-Welten (MUDs)%                |.|",
        "| |                                                                         | |",
        "|.|   %Verbinden: Datei > Verbindung aufbauen; Hilfe: Befehl help mit Raute%  |.|",
        "| |   %Viel Spass beim Spielen!%                                              | |",
        "|.|%%                                                                         |.|",
        "| | Revision: 1.35                                                          | |",
        "|.|_________________________________________________________________________|.|",
        "|_____________________________________________________________________________|",
    };
    return lines;
}

QByteArray Visible(const QByteArray& line)
{
    QByteArray v;
    TColor unused;
    for (char c : line)
        if (!SwitchColor(c, unused))
            v.append(c);
    return v;
}

void Write(IConsoleWriter& console, TOutputSink& sink)
{
    const TColor normal = console.FontColor();
    for (const QByteArray& line : Lines()) {
        bool active = false;
        for (char c : line) {
            TColor color;
            if (!SwitchColor(c, color)) {
                console.WriteChar(c);
                continue;
            }
            console.SetFontColor(active ? normal : color);
            active = !active;
        }
        sink.AddOutputLines(Visible(line));
        console.SetFontColor(normal);
        console.WriteString("\r\n");
    }
}

} // namespace Banner
