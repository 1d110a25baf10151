#include "Game.h"

#include "Text.h"
#include "World.h"

#include <algorithm>

using text::mud;

namespace {

constexpr std::size_t MaxName = 16;
constexpr std::size_t MaxTermType = 40;

// mud(pattern) with each "%s" replaced by the next argument, taken as it is: names and
// what players say are already Windows-1252 and must not be read as colour marks.
std::string fmt(const char* pattern, std::initializer_list<std::string> args)
{
    const std::string t = mud(pattern);
    std::string out;
    auto arg = args.begin();
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '%' && i + 1 < t.size() && t[i + 1] == 's' && arg != args.end()) {
            out += *arg++;
            ++i;
        } else {
            out += t[i];
        }
    }
    return out;
}

bool isNameLetter(unsigned char c)
{
    static const std::string umlauts = text::toCp1252("ÄÖÜäöüß");
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           umlauts.find(char(c)) != std::string::npos;
}

bool validName(const std::string& name)
{
    return name.size() >= 2 && name.size() <= MaxName &&
           std::all_of(name.begin(), name.end(),
                       [](char c) { return isNameLetter(static_cast<unsigned char>(c)); });
}

} // namespace

class TelnetFeed : public telnet::Handler {
public:
    TelnetFeed(Game& game, Player& player) : FGame(game), FPlayer(player) {}
    void onData(unsigned char byte) override
    {
        if (!FPlayer.wantsClose() && FPlayer.lines.add(byte))
            FGame.line(FPlayer, FPlayer.lines.line(), FPlayer.lines.truncated());
    }
    void onNegotiation(unsigned char verb, unsigned char option) override
    {
        FGame.negotiation(FPlayer, verb, option);
    }
    void onSubnegotiation(const std::string& payload) override
    {
        FGame.subnegotiation(FPlayer, payload);
    }

private:
    Game& FGame;
    Player& FPlayer;
};

void Game::connected(Player& p)
{
    FPlayers.push_back(&p);
    p.room = world::StartRoom;
    p.out += telnet::command(telnet::DO, telnet::OPT_TTYPE);
    send(p, mud("\n{1;33}Willkommen in Moosbach!{0}\n"
                "Ein kleines Übungs-MUD: ein paar Räume, ein paar Befehle, keine Gefahr.\n\n"));
    prompt(p, "Wie heisst Du? ");
}

void Game::received(Player& p, const char* bytes, std::size_t count)
{
    TelnetFeed feed(*this, p);
    p.parser.feed(bytes, count, feed);
}

void Game::disconnected(Player& p)
{
    auto it = std::find(FPlayers.begin(), FPlayers.end(), &p);
    if (it == FPlayers.end())
        return;
    FPlayers.erase(it);
    if (p.phase == Player::Phase::Playing)
        tellRoom(p, fmt("{36}%s verschwindet in einer Rauchwolke.{0}", {p.name}));
}

void Game::pump(Player& p, std::size_t want)
{
    if (!p.flood.active())
        return;
    p.flood.fill(p.out, want);
    if (!p.flood.active()) {
        send(p, fmt("{1;32}Flut beendet: %s KB gesendet.{0}\n", {std::to_string(p.floodKb)}));
        prompt(p);
    }
}

void Game::shuttingDown()
{
    for (Player* p : FPlayers) {
        p->flood = Flood();
        tell(*p, mud("{1;31}Der Server wird beendet. Bis bald!{0}"));
    }
}

void Game::negotiation(Player& p, unsigned char verb, unsigned char option)
{
    using namespace telnet;
    // Only WILL and DO are ever answered, and only with a refusal or a request we have
    // not made before, so no exchange can loop.
    if (option == OPT_TTYPE && verb == WILL) {
        if (!p.ttypeAsked)
            p.out += ttypeSend();
        p.ttypeAsked = true;
    } else if (option == OPT_ECHO && (verb == DO || verb == DONT)) {
        if (verb == DO && !p.echoOffered)
            p.out += command(WONT, OPT_ECHO);
        if (verb == DONT)
            p.echoOffered = false;
    } else if (verb == WILL) {
        p.out += command(DONT, option);
    } else if (verb == DO) {
        p.out += command(WONT, option);
    }
}

void Game::subnegotiation(Player& p, const std::string& payload)
{
    if (payload.size() >= 2 && payload[0] == char(telnet::OPT_TTYPE) &&
        payload[1] == char(telnet::TTYPE_IS))
        p.termType = text::printable(payload.substr(2, MaxTermType));
}

void Game::line(Player& p, const std::string& line, bool truncated)
{
    if (FRecord) {
        std::fwrite(line.data(), 1, line.size(), FRecord);
        std::fputc('\n', FRecord);
        std::fflush(FRecord);
    }
    p.promptShown = false; // the client has echoed the line and moved on
    if (truncated)
        send(p, fmt("{33}Die Zeile war zu lang; nur die ersten %s Zeichen zählen.{0}\n",
                     {std::to_string(telnet::LineReader::MaxLine)}));
    switch (p.phase) {
    case Player::Phase::Name: loginName(p, line); break;
    case Player::Phase::Password: loginPassword(p, line); break;
    case Player::Phase::Playing: dispatch(p, line); break;
    case Player::Phase::Leaving: break;
    }
}

void Game::loginName(Player& p, const std::string& line)
{
    std::string name = text::printable(text::trim(line));
    if (!validName(name)) {
        send(p, mud("Ein Name besteht aus 2 bis 16 Buchstaben, ohne Leerzeichen.\n"));
        prompt(p, "Wie heisst Du? ");
        return;
    }
    name = text::lower(name);
    if (name[0] >= 'a' && name[0] <= 'z')
        name[0] = char(name[0] - 'a' + 'A');
    if (nameInUse(name)) {
        send(p, mud("Jemand mit diesem Namen ist schon im Spiel.\n"));
        prompt(p, "Wie heisst Du? ");
        return;
    }
    p.name = name;
    p.phase = Player::Phase::Password;
    p.out += telnet::command(telnet::WILL, telnet::OPT_ECHO);
    p.echoOffered = true;
    prompt(p, "Passwort: ");
}

void Game::loginPassword(Player& p, const std::string& line)
{
    if (line.empty()) {
        send(p, mud("\nOhne Passwort geht es nicht (hier ist jedes recht).\n"));
        prompt(p, "Passwort: ");
        return;
    }
    p.out += telnet::command(telnet::WONT, telnet::OPT_ECHO);
    p.echoOffered = false;
    p.phase = Player::Phase::Playing;
    send(p, fmt("\n{1;32}Hallo %s!{0} Tippe {1}hilfe{0} für eine Übersicht der Befehle.\n\n",
                {p.name}));
    tellRoom(p, fmt("{36}%s betritt das Spiel.{0}", {p.name}));
    look(p);
    prompt(p);
}

void Game::dispatch(Player& p, const std::string& line)
{
    using Action = void (Game::*)(Player&, const std::string&);
    static const std::pair<const char*, Action> Commands[] = {
        {"schaue", &Game::look}, {"schau", &Game::look}, {"sage", &Game::say},
        {"sag", &Game::say},     {"wer", &Game::who},    {"hilfe", &Game::help},
        {"flood", &Game::flood}, {"ende", &Game::leave},
    };
    const std::string input = text::trim(line);
    const std::size_t blank = input.find_first_of(" \t");
    const std::string verb = text::lower(input.substr(0, blank));
    const std::string arg = blank == std::string::npos ? "" : text::trim(input.substr(blank));

    const auto known = std::find_if(std::begin(Commands), std::end(Commands),
                                    [&](const auto& c) { return verb == c.first; });
    const int direction = world::parseDirection(verb);
    if (direction != world::DirectionCount)
        walk(p, direction);
    else if (known != std::end(Commands))
        (this->*known->second)(p, arg);
    else if (!input.empty())
        send(p, mud("Wie bitte? Das verstehe ich nicht. Tippe {1}hilfe{0} für die Befehle.\n"));
    if (p.phase == Player::Phase::Playing && !p.flood.active())
        prompt(p);
}

void Game::walk(Player& p, int direction)
{
    const world::Room& here = world::rooms()[p.room];
    const int target = here.exits[direction];
    if (target < 0) {
        send(p, mud("Dort geht es nicht weiter.\n"));
        return;
    }
    const auto d = world::Direction(direction);
    tellRoom(p, fmt("{36}%s geht %s.{0}", {p.name, mud(world::info(d).leaving)}));
    p.room = target;
    tellRoom(p, fmt("{36}%s kommt herein.{0}", {p.name}));
    look(p);
}

void Game::look(Player& p, const std::string&)
{
    const world::Room& room = world::rooms()[p.room];
    std::string exits;
    for (int d = 0; d < world::DirectionCount; ++d)
        if (room.exits[d] >= 0)
            exits += std::string(exits.empty() ? "" : ", ") + world::info(world::Direction(d)).name;
    std::string others;
    for (const Player* o : FPlayers)
        if (o != &p && o->phase == Player::Phase::Playing && o->room == p.room)
            others += (others.empty() ? "" : ", ") + o->name;

    send(p, mud(std::string("{1;33}") + room.title + "{0}\n" + room.description + "\n" +
                "{32}Ausgänge: " + exits + ".{0}\n"));
    if (!others.empty())
        send(p, fmt("{1;36}Hier ist auch: %s.{0}\n", {others}));
}

void Game::say(Player& p, const std::string& what)
{
    const std::string clean = text::printable(what);
    if (clean.empty()) {
        send(p, mud("Was willst Du sagen?\n"));
        return;
    }
    send(p, fmt("{1;35}Du sagst: %s{0}\n", {clean}));
    tellRoom(p, fmt("{1;35}%s sagt: %s{0}", {p.name, clean}));
}

void Game::who(Player& p, const std::string&)
{
    std::string list;
    int count = 0;
    for (const Player* o : FPlayers) {
        if (o->phase != Player::Phase::Playing)
            continue;
        ++count;
        const std::string term = o->termType.empty() ? "" : " [" + o->termType + "]";
        list += fmt("  {1}%s{0}%s - %s\n", {o->name, term, mud(world::rooms()[o->room].title)});
    }
    send(p, fmt("Spieler im Spiel: %s\n", {std::to_string(count)}) + list);
}

void Game::help(Player& p, const std::string&)
{
    send(p, mud("{1;37;44} Befehle {0}\n"
                "  {1}n s o w no nw so sw h r rein raus{0}  gehen (auch: norden, hoch, ...)\n"
                "  {1}schaue{0}        den Raum noch einmal ansehen\n"
                "  {1}sage <Text>{0}   zu allen im Raum sprechen\n"
                "  {1}wer{0}           wer ist im Spiel?\n"
                "  {1}flood <KB>{0}    so viele Kilobyte bunten Text senden (zum Messen)\n"
                "  {1}hilfe{0}         diese Übersicht\n"
                "  {1}ende{0}          das Spiel verlassen\n"));
}

void Game::flood(Player& p, const std::string& arg)
{
    const bool digits = !arg.empty() && arg.size() <= 8 &&
                        arg.find_first_not_of("0123456789") == std::string::npos;
    const std::uint64_t kb = digits ? std::stoull(arg) : 0;
    if (kb < 1 || kb > Flood::MaxKilobytes) {
        send(p, fmt("Benutze: flood <KB>, mit KB von 1 bis %s.\n",
                    {std::to_string(Flood::MaxKilobytes)}));
        return;
    }
    p.floodKb = kb;
    p.flood = Flood(kb * 1024, std::uint32_t(kb));
    send(p, fmt("{1;32}Flut: %s KB folgen.{0}\n", {std::to_string(kb)}));
}

void Game::leave(Player& p, const std::string&)
{
    p.flood = Flood();
    send(p, fmt("{1;33}Auf Wiedersehen, %s!{0}\n", {p.name}));
    tellRoom(p, fmt("{36}%s verlässt das Spiel.{0}", {p.name}));
    p.phase = Player::Phase::Leaving;
}

void Game::send(Player& p, const std::string& cp1252)
{
    std::string crlf;
    crlf.reserve(cp1252.size() + 16);
    for (char c : cp1252) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    p.out += telnet::escapeData(crlf);
    p.promptShown = false;
}

void Game::prompt(Player& p, const std::string& cp1252)
{
    send(p, cp1252);
    p.out += telnet::goAhead();
    p.promptShown = true;
}

void Game::tell(Player& p, const std::string& cp1252)
{
    if (p.promptShown)
        send(p, "\n");
    send(p, cp1252 + "\n");
    if (p.phase == Player::Phase::Playing && !p.flood.active())
        prompt(p);
}

void Game::tellRoom(const Player& from, const std::string& cp1252)
{
    for (Player* o : FPlayers)
        if (o != &from && o->phase == Player::Phase::Playing && o->room == from.room)
            tell(*o, cp1252);
}

bool Game::nameInUse(const std::string& name) const
{
    for (const Player* o : FPlayers)
        if (o->phase != Player::Phase::Name && text::lower(o->name) == text::lower(name))
            return true;
    return false;
}
