#include "Server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool setNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
           fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

bool wouldBlock(int err)
{
    return err == EAGAIN || err == EWOULDBLOCK || err == EINTR;
}

} // namespace

Server::~Server()
{
    closeAll();
    if (FListen >= 0)
        ::close(FListen);
}

bool Server::listen(std::uint16_t port, std::string& error)
{
    FListen = ::socket(AF_INET, SOCK_STREAM, 0);
    if (FListen < 0) {
        error = std::strerror(errno);
        return false;
    }
    const int on = 1;
    setsockopt(FListen, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(FListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(FListen, 16) != 0 || !setNonBlocking(FListen) ||
        getsockname(FListen, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        error = std::strerror(errno);
        return false;
    }
    FPort = ntohs(addr.sin_port);
    return true;
}

void Server::run(int stopFd)
{
    std::vector<pollfd> fds;
    for (;;) {
        fds.clear();
        fds.push_back({FListen, POLLIN, 0});
        fds.push_back({stopFd, POLLIN, 0});
        for (const auto& c : FConnections) {
            const bool pending = !c->player.out.empty() || c->player.flood.active();
            fds.push_back({c->fd, short(POLLIN | (pending ? POLLOUT : 0)), 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            std::cerr << "kmc-demo-mud: poll: " << std::strerror(errno) << "\n";
            break;
        }
        if (fds[1].revents)
            break;
        // Connections accepted below are polled from the next round on.
        const std::size_t polled = FConnections.size();
        if (fds[0].revents & POLLIN)
            acceptAll();
        for (std::size_t i = 0; i < polled; ++i) {
            Connection& c = *FConnections[i];
            const short ev = fds[i + 2].revents;
            if (ev & (POLLIN | POLLHUP | POLLERR))
                readFrom(c);
            if ((ev & POLLOUT) && !c.dead)
                writeTo(c);
        }
        sweep();
    }
    closeAll();
}

void Server::acceptAll()
{
    for (;;) {
        const int fd = ::accept(FListen, nullptr, nullptr);
        if (fd < 0)
            return; // EAGAIN, or a connection that vanished before we took it
        if (!setNonBlocking(fd) || FConnections.size() >= MaxConnections) {
            const std::string full = "Der Server ist voll, bitte spaeter noch einmal.\r\n";
            ::send(fd, full.data(), full.size(), MSG_NOSIGNAL);
            ::close(fd);
            continue;
        }
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        FGame.connected(c->player);
        FConnections.push_back(std::move(c));
        std::cerr << "kmc-demo-mud: neue Verbindung (" << FConnections.size()
                  << " verbunden)\n";
    }
}

void Server::readFrom(Connection& c)
{
    char buf[16 * 1024];
    const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
    if (n > 0)
        FGame.received(c.player, buf, std::size_t(n));
    else if (n == 0 || !wouldBlock(errno))
        c.dead = true;
}

void Server::writeTo(Connection& c)
{
    Player& p = c.player;
    if (p.out.size() < FloodChunk)
        FGame.pump(p, FloodChunk);
    if (p.out.empty())
        return;
    const ssize_t n = ::send(c.fd, p.out.data(), p.out.size(), MSG_NOSIGNAL);
    if (n > 0)
        p.out.erase(0, std::size_t(n));
    else if (n < 0 && !wouldBlock(errno))
        c.dead = true;
}

void Server::sweep()
{
    for (auto it = FConnections.begin(); it != FConnections.end();) {
        Connection& c = **it;
        const bool finished = c.player.wantsClose() && c.player.out.empty();
        if (c.player.out.size() > MaxQueue) {
            std::cerr << "kmc-demo-mud: Client liest nicht mehr, Verbindung getrennt\n";
            c.dead = true;
        }
        if (!c.dead && !finished) {
            ++it;
            continue;
        }
        FGame.disconnected(c.player);
        ::shutdown(c.fd, SHUT_RDWR);
        ::close(c.fd);
        it = FConnections.erase(it);
        std::cerr << "kmc-demo-mud: Verbindung beendet (" << FConnections.size()
                  << " verbunden)\n";
    }
}

void Server::closeAll()
{
    FGame.shuttingDown();
    for (const auto& c : FConnections) {
        // One last try; whatever the socket does not take now is lost.
        if (!c->dead)
            ::send(c->fd, c->player.out.data(), c->player.out.size(), MSG_NOSIGNAL);
        FGame.disconnected(c->player);
        ::close(c->fd);
    }
    FConnections.clear();
}
