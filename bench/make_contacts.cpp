// Writes a generated contact file, for benchmarks and for trying the programs on a large file.
#include "bench/ContactFileGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: make_contacts COUNT FILE [--nothing-due-from YYYY-MM-DD "
                         "[--today N]] [--seed N]\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3)
        return usage();
    bench::GeneratorOptions options;
    options.contacts = std::strtoull(argv[1], nullptr, 10);
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string_view flag = argv[i];
        const char* value = argv[i + 1];
        if (flag == "--nothing-due-from") {
            int y = 0;
            unsigned m = 0;
            unsigned d = 0;
            if (std::sscanf(value, "%d-%u-%u", &y, &m, &d) != 3)
                return usage();
            options.avoidUpcomingFrom = true;
            options.avoidFrom = std::chrono::year{y} / std::chrono::month{m} / std::chrono::day{d};
        } else if (flag == "--today") {
            options.birthdaysOnAvoidFrom = std::strtoull(value, nullptr, 10);
        } else if (flag == "--seed") {
            options.seed = std::strtoull(value, nullptr, 10);
        } else {
            return usage();
        }
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << bench::generateContactFile(options);
    return out ? 0 : 1;
}
