#pragma once
// One thread, one poll() loop: a listening socket on 127.0.0.1 and any number of
// non-blocking player connections, each with its own output queue, so a player who
// reads slowly (or a flood) never holds up the others.

#include "Game.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Server {
public:
    static constexpr std::size_t MaxConnections = 64;
    // A queue this long means the client stopped reading; it is cut off.
    static constexpr std::size_t MaxQueue = 1024 * 1024;
    // A flood is topped up to this much at a time.
    static constexpr std::size_t FloodChunk = 64 * 1024;

    explicit Server(Game& game) : FGame(game) {}
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Binds 127.0.0.1:port (0 lets the system pick); false with a message on failure.
    bool listen(std::uint16_t port, std::string& error);
    std::uint16_t port() const { return FPort; }

    // Serves until stopFd becomes readable, then says goodbye to everyone.
    void run(int stopFd);

private:
    struct Connection {
        int fd = -1;
        bool dead = false;
        Player player;
    };

    void acceptAll();
    void readFrom(Connection& c);
    void writeTo(Connection& c);
    void sweep();
    void closeAll();

    Game& FGame;
    int FListen = -1;
    std::uint16_t FPort = 0;
    std::vector<std::unique_ptr<Connection>> FConnections;
};
