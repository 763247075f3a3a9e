// stipple: the editor's picture files, exports and imports for builds and batches.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "cli/Commands.h"
#include "formats/Windows1252.h"

namespace {

constexpr const char* kUsage =
    "usage: stipple export|import|info|thumbnail [options] FILE...\n"
    "       stipple --version | --help | COMMAND --help\n";

constexpr const char* kHelp =
    "\n"
    "  export     write picture files as the editor's export texts\n"
    "  import     make a picture file of a bitmap (BMP) or PNG image, of a text that\n"
    "             export writes (--format cpp, asm1, asm2, asm4, asm8 or file, --syntax\n"
    "             gas, ca65, db or c) or of the bin bytes of a layout\n"
    "  info       tell what picture files hold\n"
    "  thumbnail  draw a picture file as a PNG image\n"
    "\n"
    "Exit status: 0 when all went through, 1 when an input was refused or an output could\n"
    "not be written, 2 for a usage error. See stipple(1).\n";

}  // namespace

int main(int argc, char* argv[]) {
    using namespace stipple::cli;
    // Under a file size limit a write then fails and is told, instead of ending the tool
    // half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::map<std::string, int (*)(const Arguments&)> commands = {
        {"export", exportCommand},
        {"import", importCommand},
        {"info", infoCommand},
        {"thumbnail", thumbnailCommand}};
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return kUsageError;
    }
    const std::string first = argv[1];
    if (first == "--version") {
        std::printf("stipple %s\n", STIPPLE_VERSION);
        return kSucceeded;
    }
    if (first == "--help" || first == "-h") {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return kSucceeded;
    }
    const auto command = commands.find(first);
    if (command == commands.end()) {
        std::fprintf(stderr, "stipple: unknown command %s\n%s",
                     stipple::printableText(first).c_str(), kUsage);
        return kUsageError;
    }
    return command->second(Arguments(argv + 2, argv + argc));
}
