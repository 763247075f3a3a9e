#pragma once
// Reading a command's options and operands, and telling the user about them.

#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/Commands.h"
#include "formats/ByteLayout.h"

namespace stipple::cli {

// What one command takes: options with a value ("--format", "-o"), flags ("--align"),
// switches, and its usage line and help text.
struct CommandSyntax {
    const char* name;
    const char* usage;  // after "usage: "
    const char* help;   // shown by --help below the usage line
    std::set<std::string> valued;
    std::set<std::string> flags;
    // Alone a switch ("--mask") reads as the value yes; "--mask=no", or a next word that is
    // exactly yes or no, as older scripts write it, gives its value.
    std::set<std::string> switches = {};
};

struct ParsedArguments {
    std::map<std::string, std::string> values;  // the last value of each valued option
    std::set<std::string> flags;
    std::vector<std::string> operands;
    bool help = false;
    std::string problem;  // a usage error, or empty

    std::optional<std::string> value(const std::string& option) const;
};

// Options may come before, between and after operands; "--option=value" and
// "--option value" are the same; "--" ends the options; "-" alone is an operand.
ParsedArguments parseArguments(const CommandSyntax& syntax, const Arguments& arguments);

// The status to end the command with at once: success after showing the help for --help,
// the usage error for arguments that could not be read; nothing when the command goes on.
std::optional<int> helpOrUsageError(const CommandSyntax& syntax, const ParsedArguments& parsed);

// Prints "stipple <command>: <problem>" and the usage line to standard error; returns the
// usage error status. Messages go out through printableText: a line stays one line and
// drives no terminal.
int usageError(const CommandSyntax& syntax, const std::string& problem);
// Prints the usage line and the help text to standard output; returns success.
int showHelp(const CommandSyntax& syntax);
// Prints one line, "stipple <command>: <message>", to standard error, shown as above: a
// refusal, or a notice that by itself changes nothing of the exit status.
void tellRefused(const CommandSyntax& syntax, const std::string& message);

// A whole decimal number within [low, high], or nothing.
std::optional<int> numberIn(const std::string& text, int low, int high);

// Numbers apart by commas, as many as ranges and each in its own; nothing when it is not that.
std::optional<std::vector<int>> numbersIn(std::string text,
                                          std::initializer_list<std::pair<int, int>> ranges);

// W,H of a picture's size (--size, --frames, --fit), or nothing when it is not that.
std::optional<std::pair<int, int>> sizeIn(const std::string& text);

// True when any of --target, --depth, --levels, --order, --scan, --planes, --mask is given.
bool anyLayoutOption(const ParsedArguments& parsed);

// The layout of --target (the plain row packing without one) changed by the other layout
// options and --align; a depth of its own brings that depth's plain codes unless --levels is
// given too. Nothing, with `problem` set, for a word or a layout that cannot be used.
std::optional<ByteLayout> layoutOptions(const ParsedArguments& parsed, std::string& problem);

}  // namespace stipple::cli
