#pragma once
// Login, world and commands. The game never touches a socket: it reads the bytes a
// client sent and appends its answers to that player's output queue, which the server
// drains as the socket allows.

#include "Flood.h"
#include "Telnet.h"

#include <cstdio>
#include <string>
#include <vector>

struct Player {
    enum class Phase { Name, Password, Playing, Leaving };

    Phase phase = Phase::Name;
    std::string name; // Windows-1252
    std::string termType;
    int room = 0;
    bool ttypeAsked = false;
    bool echoOffered = false;
    bool promptShown = false; // the last thing sent was a prompt without line end
    std::string out;          // bytes waiting for the socket, already telnet-escaped
    Flood flood;
    std::uint64_t floodKb = 0;
    telnet::Parser parser;
    telnet::LineReader lines;

    bool wantsClose() const { return phase == Phase::Leaving; }
};

class Game {
public:
    // record: every received line is appended there when not null.
    explicit Game(std::FILE* record = nullptr) : FRecord(record) {}

    void connected(Player& p);
    void received(Player& p, const char* bytes, std::size_t count);
    // The connection is gone, whether the player said "ende" or not.
    void disconnected(Player& p);
    // Tops up a flooding player's queue to about want bytes.
    void pump(Player& p, std::size_t want);
    void shuttingDown();

private:
    friend class TelnetFeed;
    void negotiation(Player& p, unsigned char verb, unsigned char option);
    void subnegotiation(Player& p, const std::string& payload);
    void line(Player& p, const std::string& line, bool truncated);

    void loginName(Player& p, const std::string& line);
    void loginPassword(Player& p, const std::string& line);
    void dispatch(Player& p, const std::string& line);
    void walk(Player& p, int direction);
    void look(Player& p, const std::string& = {});
    void say(Player& p, const std::string& what);
    void who(Player& p, const std::string& = {});
    void help(Player& p, const std::string& = {});
    void flood(Player& p, const std::string& arg);
    void leave(Player& p, const std::string& = {});

    void send(Player& p, const std::string& cp1252);
    void prompt(Player& p, const std::string& cp1252 = "> ");
    void tell(Player& p, const std::string& cp1252);
    void tellRoom(const Player& from, const std::string& cp1252);
    bool nameInUse(const std::string& name) const;

    std::FILE* FRecord;
    std::vector<Player*> FPlayers;
};
