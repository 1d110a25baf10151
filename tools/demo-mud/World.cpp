#include "World.h"

#include "Text.h"

namespace world {

namespace {

const DirectionInfo Directions[DirectionCount] = {
    {"norden", "nach Norden", {"n", "norden"}},
    {"süden", "nach Süden", {"s", "sueden", "süden"}},
    {"osten", "nach Osten", {"o", "osten"}},
    {"westen", "nach Westen", {"w", "westen"}},
    {"nordosten", "nach Nordosten", {"no", "nordosten"}},
    {"nordwesten", "nach Nordwesten", {"nw", "nordwesten"}},
    {"südosten", "nach Südosten", {"so", "suedosten", "südosten"}},
    {"südwesten", "nach Südwesten", {"sw", "suedwesten", "südwesten"}},
    {"hoch", "nach oben", {"h", "hoch", "oben"}},
    {"runter", "nach unten", {"r", "runter", "unten"}},
    {"rein", "hinein", {"rein", "hinein"}},
    {"raus", "hinaus", {"raus", "hinaus"}},
};

enum RoomId { Platz, Gasse, Taverne, Kammer, Tor, Schmiede, Ufer, Wald };

// Exits in the order n, s, o, w, no, nw, so, sw, h, r, rein, raus.
std::vector<Room> makeRooms()
{
    const int x = -1;
    return {
        {"Der Dorfplatz von Moosbach",
         "Kopfsteinpflaster glänzt im Regen. In der Mitte steht ein alter {1;34}Brunnen{0},\n"
         "an dem eine {33}Laterne{0} flackert. Aus der {1;33}Taverne{0} dringt Gelächter.\n"
         "Im Norden beginnt die Marktgasse, im Westen hämmert der Schmied.",
         {Gasse, Tor, x, Schmiede, x, x, x, x, x, x, Taverne, x}},
        {"Die Marktgasse",
         "Schmale Fachwerkhäuser lehnen sich über die Gasse. An einem Stand liegen\n"
         "{1;31}rote Äpfel{0} und {32}grüner Kohl{0}; die Händlerin ist zum Essen gegangen.",
         {x, Platz, x, x, x, x, x, x, x, x, x, x}},
        {"Die Taverne \"Zum Tapferen Hasen\"",
         "Es riecht nach {33}Bier{0} und Bratkartoffeln. Ein {1;37}Wirt{0} poliert Krüge, die\n"
         "nicht sauberer werden. Eine knarrende Treppe führt nach oben.",
         {x, x, x, x, x, x, x, x, Kammer, x, x, Platz}},
        {"Eine Dachkammer",
         "Unter schrägen Balken steht ein Strohbett. Durch ein rundes Fenster siehst Du\n"
         "die {1;30}Dächer{0} des Dorfes und dahinter den {32}Wald{0}.",
         {x, x, x, x, x, x, x, x, x, Taverne, x, x}},
        {"Das Südtor",
         "Zwei {1;37}Wachen{0} lehnen gelangweilt an ihren Hellebarden. Ein Weg führt nach\n"
         "Südosten hinunter zum Fluss, ein Pfad nach Südwesten in den Wald.",
         {Platz, x, x, x, x, x, Ufer, Wald, x, x, x, x}},
        {"Die Schmiede",
         "Funken sprühen vom Amboss. Die Esse glüht {1;31}rot{0} und {1;33}gelb{0}; an den Wänden\n"
         "hängen Hufeisen, Sensen und ein {36}Schwert{0}, das noch keinen Griff hat.",
         {x, x, Platz, x, x, x, x, x, x, x, x, x}},
        {"Am Flussufer",
         "Der {1;36}Fluss{0} gluckert über runde Kiesel. Auf einem Stein sonnt sich ein\n"
         "{32}Frosch{0}. Im Westen beginnt der Wald, nach Nordwesten geht es zum Tor.",
         {x, x, x, Wald, x, Tor, x, x, x, x, x, x}},
        {"Am Waldrand",
         "Hohe {32}Tannen{0} stehen dicht an dicht, {1;30}dunkel{0} und still. Ein Specht klopft.\n"
         "Nach Nordosten liegt das Tor, im Osten rauscht der Fluss.",
         {x, x, Ufer, x, Tor, x, x, x, x, x, x, x}},
    };
}

} // namespace

const DirectionInfo& info(Direction d)
{
    return Directions[d];
}

Direction parseDirection(const std::string& word)
{
    const std::string key = text::lower(word);
    for (int d = 0; d < DirectionCount; ++d)
        for (const char* w : Directions[d].words)
            if (key == w || key == text::toCp1252(w))
                return Direction(d);
    return DirectionCount;
}

const std::vector<Room>& rooms()
{
    static const std::vector<Room> all = makeRooms();
    return all;
}

} // namespace world
