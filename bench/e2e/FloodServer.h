#pragma once
// A MUD on the loopback that pours a prepared flood into the first client and then
// closes its sending side. Meanwhile it reads what the client sends and notes when
// each "say ping N" line arrives, so typed-line latency can be measured across the
// flood. Runs on threads of its own; the client's event loop is never touched.

#include <QByteArray>

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

class FloodServer {
public:
    using Clock = std::chrono::steady_clock;

    explicit FloodServer(QByteArray flood);
    ~FloodServer();  // waits for both threads

    quint16 Port() const { return FPort; }
    // Arrival time of "say ping N" by N; safe to call while the threads run.
    std::map<int, Clock::time_point> PingArrivals() const;
    // Blocks until the client has closed and everything was read.
    void Join();

private:
    void Serve();
    void ReadClient(int fd);

    QByteArray FFlood;
    int FListen = -1;
    quint16 FPort = 0;
    std::thread FThread;
    mutable std::mutex FLock;
    std::map<int, Clock::time_point> FPings;
};
