// kmc-demo-mud: a small practice MUD on 127.0.0.1 to try the client without the
// internet, and a real server for the end-to-end tests.

#include "Game.h"
#include "Server.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

constexpr std::uint16_t DefaultPort = 7600;

int StopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 1;
    // Nothing to do if the pipe is full: a stop is already pending.
    [[maybe_unused]] const ssize_t n = ::write(StopPipe[1], &byte, 1);
}

bool installSignals()
{
    if (::pipe(StopPipe) != 0)
        return false;
    for (int fd : StopPipe)
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    return sigaction(SIGINT, &sa, nullptr) == 0 && sigaction(SIGTERM, &sa, nullptr) == 0 &&
           sigaction(SIGPIPE, &ignore, nullptr) == 0;
}

void usage(std::ostream& out)
{
    out << "Aufruf: kmc-demo-mud [--record DATEI] [PORT]\n"
           "\n"
           "Ein kleines Uebungs-MUD fuer KMC. Es lauscht auf 127.0.0.1, Port " << DefaultPort
        << " wenn\n"
           "keiner angegeben ist; Port 0 waehlt einen freien Port. Die erste Zeile der\n"
           "Ausgabe nennt die Adresse: \"listening on 127.0.0.1:PORT\".\n"
           "\n"
           "  --record DATEI  jede empfangene Zeile (nach der Telnet-Dekodierung, Bytes wie\n"
           "                  empfangen) als eine Zeile in DATEI schreiben\n"
           "  --help          diese Hilfe\n"
           "\n"
           "Beenden mit Strg+C.\n";
}

struct Options {
    std::uint16_t port = DefaultPort;
    std::string record;
    bool help = false;
};

bool parsePort(const std::string& s, std::uint16_t& port)
{
    if (s.empty() || s.size() > 5 || s.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long value = std::stoul(s);
    if (value > 65535)
        return false;
    port = std::uint16_t(value);
    return true;
}

bool parseArgs(int argc, char** argv, Options& opt)
{
    bool havePort = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            opt.help = true;
        } else if (arg == "--record" && i + 1 < argc) {
            opt.record = argv[++i];
        } else if (!havePort && parsePort(arg, opt.port)) {
            havePort = true;
        } else {
            std::cerr << "kmc-demo-mud: unbekanntes Argument \"" << arg << "\"\n\n";
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options opt;
    if (!parseArgs(argc, argv, opt)) {
        usage(std::cerr);
        return 2;
    }
    if (opt.help) {
        usage(std::cout);
        return 0;
    }
    std::FILE* record = nullptr;
    if (!opt.record.empty() && !(record = std::fopen(opt.record.c_str(), "wb"))) {
        std::cerr << "kmc-demo-mud: " << opt.record << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    if (!installSignals()) {
        std::cerr << "kmc-demo-mud: " << std::strerror(errno) << "\n";
        return 1;
    }
    Game game(record);
    Server server(game);
    std::string error;
    if (!server.listen(opt.port, error)) {
        std::cerr << "kmc-demo-mud: Port " << opt.port << ": " << error << "\n";
        return 1;
    }
    std::cout << "listening on 127.0.0.1:" << server.port() << std::endl;
    std::cerr << "kmc-demo-mud: verbinde den Client mit 127.0.0.1, Port " << server.port()
              << "; Ende mit Strg+C\n";
    server.run(StopPipe[0]);
    if (record)
        std::fclose(record);
    std::cerr << "kmc-demo-mud: beendet\n";
    return 0;
}
