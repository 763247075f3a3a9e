// stipple: the editor's picture files, exports and imports for builds and batches.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "cli/Commands.h"
#include "formats/Windows1252.h"

namespace {

constexpr const char* kUsage =
    "usage: stipple export|font|import|info|thumbnail [options] FILE...\n"
    "       stipple --version | --help | COMMAND --help\n";

constexpr const char* kHelp =
    "\n"
    "  export     write picture files as the editor's export texts, a font set as BDF\n"
    "             or as a GFX font (--font bdf or gfx)\n"
    "  font       make a font set of an outline font (TrueType, OpenType) rendered\n"
    "             by FreeType at a pixel size\n"
    "  import     make a picture file of a bitmap (BMP) or PNG image, of a text that\n"
    "             export writes (--format cpp, asm1, asm2, asm4, asm8 or file, --syntax\n"
    "             gas, ca65, db or c) or of the bin bytes of a layout; a font set of a\n"
    "             BDF font\n"
    "  info       tell what picture files hold\n"
    "  thumbnail  draw a picture file as a PNG image\n"
    "\n"
    "Exit status: 0 when all went through, 1 when an input was refused or an output could\n"
    "not be written, 2 for a usage error. See stipple(1).\n";

// What was left of standard output goes out; a write that failed, then or before, is told
// in one line (unless the command told it already) and ends with a refusal.
int flushedStandardOutput(const char* command, int status) {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (flushed && !std::ferror(stdout)) {
        return status;
    }
    if (status == stipple::cli::kSucceeded) {
        std::fprintf(stderr, "stipple%s%s: Could not write to standard output%s%s.\n",
                     *command != '\0' ? " " : "", command, error != 0 ? ": " : "",
                     error != 0 ? std::strerror(error) : "");
        return stipple::cli::kRefused;
    }
    return status;
}

int run(int argc, char* argv[]) {
    using namespace stipple::cli;
    // Under a file size limit a write then fails and is told, instead of ending the tool
    // half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
    // A reader that went away is a failed write like a full disk: told, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    const std::map<std::string, int (*)(const Arguments&)> commands = {
        {"export", exportCommand},
        {"font", fontCommand},
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
        return flushedStandardOutput("", kSucceeded);
    }
    if (first == "--help" || first == "-h") {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return flushedStandardOutput("", kSucceeded);
    }
    const auto command = commands.find(first);
    if (command == commands.end()) {
        std::fprintf(stderr, "stipple: unknown command %s\n%s",
                     stipple::printableText(first).c_str(), kUsage);
        return kUsageError;
    }
    return flushedStandardOutput(command->first.c_str(),
                                 command->second(Arguments(argv + 2, argv + argc)));
}

}  // namespace

int main(int argc, char* argv[]) {
    return run(argc, argv);
}
