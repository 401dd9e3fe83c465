#include "bench/ContactFileGenerator.h"

#include "contacts/Windows1252.h"

#include <array>
#include <string_view>

namespace bench {
namespace {

// Written in UTF-8 here, stored in Windows-1252 as the programs store them.
constexpr std::array<std::string_view, 24> kGivenNames = {
    "Ana",   "Bruno",  "Carla", "Damián", "Elena",    "Fernando", "Gonzalo", "Hernán",
    "Inés",  "Javier", "Lucía", "Martín", "Nuria",    "Óscar",    "Pilar",   "Raúl",
    "Sofía", "Tomás",  "Ángel", "Érica",  "Valentín", "Ximena",   "Yolanda", "Zoe",
};
constexpr std::array<std::string_view, 16> kSurnames = {
    "García", "Martínez", "López",  "Sánchez", "Pérez",   "Gómez",    "Muñoz",  "Jiménez",
    "Ibáñez", "Núñez",    "Roldán", "Cañas",   "Ordóñez", "Argüello", "Suárez", "Castro",
};
constexpr std::array<std::string_view, 8> kAliases = {
    "Anita", "Chelo", "Pepe", "Nacho", "Lola", "Quique", "Paco", "Maru",
};
constexpr std::array<std::string_view, 6> kStreets = {
    "Calle Mayor", "Av. de América", "Plaza España", "Calle del Sol", "Paseo Colón", "Ronda Sur",
};
constexpr std::array<std::string_view, 6> kNotes = {
    "", "Le gusta el chocolate", "Prima", "Amiga del colegio", "Compañero", "Vecino",
};
constexpr std::array<int, 12> kDaysInMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// A small, fast generator with a fixed sequence for a seed (splitmix64).
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }

private:
    std::uint64_t m_state;
};

std::string fileText(std::string_view utf8)
{
    return contacts::utf8ToWindows1252(utf8).value_or(std::string(utf8));
}

std::string twoDigits(int n)
{
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

bool isAvoided(int day, int month, const GeneratorOptions& options)
{
    using namespace std::chrono;
    if (!options.avoidUpcomingFrom)
        return false;
    const sys_days from{options.avoidFrom};
    for (int offset = 0; offset <= 3; ++offset) {
        const year_month_day date{from + days{offset}};
        if (static_cast<unsigned>(date.day()) == static_cast<unsigned>(day) &&
            static_cast<unsigned>(date.month()) == static_cast<unsigned>(month))
            return true;
    }
    // 29 February is celebrated on 28 February in common years.
    return day == 29 && month == 2;
}

} // namespace

std::string generateContactFile(const GeneratorOptions& options)
{
    Random random(options.seed);
    std::string out;
    out.reserve(options.contacts * 72);
    for (std::size_t i = 0; i < options.contacts; ++i) {
        int day = 0;
        int month = 0;
        if (i < options.birthdaysOnAvoidFrom) {
            day = static_cast<int>(static_cast<unsigned>(options.avoidFrom.day()));
            month = static_cast<int>(static_cast<unsigned>(options.avoidFrom.month()));
        } else {
            do {
                month = static_cast<int>(random.below(12)) + 1;
                day = static_cast<int>(random.below(static_cast<std::size_t>(
                          kDaysInMonth[static_cast<std::size_t>(month - 1)]))) +
                      1;
            } while (isAvoided(day, month, options));
        }
        // The running number keeps names unique at any size.
        out += fileText(kGivenNames[random.below(kGivenNames.size())]);
        out += ' ';
        out += fileText(kSurnames[random.below(kSurnames.size())]);
        out += ' ';
        out += std::to_string(i + 1);
        out += '\xA7';
        out += fileText(kAliases[random.below(kAliases.size())]);
        out += '\xA7';
        out += std::to_string(1 + random.below(90));
        out += '\xA7';
        out += twoDigits(day) + "/" + twoDigits(month);
        out += '\xA7';
        out += "6" + std::to_string(10000000 + random.below(89999999));
        out += '\xA7';
        out += fileText(kStreets[random.below(kStreets.size())]);
        out += ' ';
        out += std::to_string(1 + random.below(200));
        out += '\xA7';
        out += '\xA7'; // most contacts have no e-mail
        out += fileText(kNotes[random.below(kNotes.size())]);
        out += '\xA7';
        out += "\r\n";
    }
    return out;
}

} // namespace bench
