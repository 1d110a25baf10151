#include "CommandLine.h"

#include "KmcApplication.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <cstring>

namespace {

const char* const Caption = "Kelmoth's Mud-Client (KMC) V" KMC_VERSION_TEXT;

bool isArg(const char* arg, const char* longName, const char* shortName)
{
    return std::strcmp(arg, longName) == 0 || std::strcmp(arg, shortName) == 0;
}

void printHelp(int argc, char** argv, std::ostream& out)
{
    // The folders depend on where the program lies; working them out needs the
    // application's name and folder, but no display.
    QCoreApplication core(argc, argv);
    TKmcApplication::NameApplication(core);
    out << "Aufruf: kmc [--help | --version]\n"
           "\n"
        << Caption
        << ", ein Client fuer textbasierte MUDs ueber Telnet.\n"
           "Ohne Argumente oeffnet kmc das Hauptfenster.\n"
           "\n"
           "  -h, --help     diese Hilfe\n"
           "  -V, --version  die Version\n"
           "\n"
           "Eigene Dateien (conf/, log/, vezoriza.sta, mudnotiz.txt): "
        << QDir::toNativeSeparators(ProgramFolder::path()).toStdString()
        << "\nHilfetexte: " << QDir::toNativeSeparators(ProgramFolder::helpFile()).toStdString()
        << "\n\nZum Ueben: kmc-demo-mud starten und mit 127.0.0.1, Port 7600 verbinden.\n"
           "Mehr dazu: man kmc\n";
}

} // namespace

namespace CommandLine {

bool Answer(int argc, char** argv, std::ostream& out)
{
    for (int i = 1; i < argc; ++i) {
        if (isArg(argv[i], "--version", "-V")) {
            out << Caption << "\nGebaut mit Qt " QT_VERSION_STR ", laeuft mit Qt " << qVersion()
                << ".\n";
            return true;
        }
        if (isArg(argv[i], "--help", "-h")) {
            printHelp(argc, argv, out);
            return true;
        }
    }
    return false;
}

} // namespace CommandLine
