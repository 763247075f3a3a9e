#include "cli/Options.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>

#include "formats/LayoutText.h"
#include "formats/Windows1252.h"

namespace stipple::cli {

std::optional<std::string> ParsedArguments::value(const std::string& option) const {
    const auto found = values.find(option);
    if (found == values.end()) {
        return std::nullopt;
    }
    return found->second;
}

ParsedArguments parseArguments(const CommandSyntax& syntax, const Arguments& arguments) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
            parsed.operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
            continue;
        }
        std::string option = argument;
        std::optional<std::string> value;
        if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
            option = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (syntax.flags.count(option) != 0) {
            if (value) {
                parsed.problem = "the option " + option + " takes no value";
                return parsed;
            }
            parsed.flags.insert(option);
        } else if (syntax.valued.count(option) != 0) {
            if (!value) {
                if (i + 1 == arguments.size()) {
                    parsed.problem = "the option " + option + " needs a value";
                    return parsed;
                }
                value = arguments[++i];
            }
            parsed.values[option] = *value;
        } else if (syntax.switches.count(option) != 0) {
            if (!value && i + 1 < arguments.size() &&
                (arguments[i + 1] == "yes" || arguments[i + 1] == "no")) {
                value = arguments[++i];
            }
            parsed.values[option] = value.value_or("yes");
        } else {
            parsed.problem = "unknown option " + option;
            return parsed;
        }
    }
    return parsed;
}

std::optional<int> helpOrUsageError(const CommandSyntax& syntax, const ParsedArguments& parsed) {
    if (parsed.help) {
        return showHelp(syntax);
    }
    if (!parsed.problem.empty()) {
        return usageError(syntax, parsed.problem);
    }
    return std::nullopt;
}

int usageError(const CommandSyntax& syntax, const std::string& problem) {
    std::fprintf(stderr, "stipple %s: %s\nusage: %s\n", syntax.name, printableText(problem).c_str(),
                 syntax.usage);
    return kUsageError;
}

int showHelp(const CommandSyntax& syntax) {
    std::printf("usage: %s\n\n%s", syntax.usage, syntax.help);
    return kSucceeded;
}

void tellRefused(const CommandSyntax& syntax, const std::string& message) {
    std::fprintf(stderr, "stipple %s: %s\n", syntax.name, printableText(message).c_str());
}

std::optional<int> numberIn(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, problem] = std::from_chars(text.data(), end, value);
    if (text.empty() || problem != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::vector<int>> numbersIn(std::string text,
                                          std::initializer_list<std::pair<int, int>> ranges) {
    std::vector<int> numbers;
    for (const auto& [least, most] : ranges) {
        const std::size_t comma = numbers.size() + 1 < ranges.size() ? text.find(',') : text.size();
        const std::optional<int> number = comma == std::string::npos
                                              ? std::nullopt
                                              : numberIn(text.substr(0, comma), least, most);
        if (!number) {
            return std::nullopt;
        }
        numbers.push_back(*number);
        text.erase(0, comma + 1);
    }
    return numbers;
}

std::optional<std::pair<int, int>> sizeIn(const std::string& text) {
    const auto size = numbersIn(text, {{1, kMaxPictureWidth}, {1, kMaxPictureHeight}});
    return size ? std::optional(std::pair((*size)[0], (*size)[1])) : std::nullopt;
}

namespace {
constexpr const char* kLayoutKeys[] = {"depth", "levels", "order", "scan", "planes", "mask"};
}  // namespace

bool anyLayoutOption(const ParsedArguments& parsed) {
    return parsed.values.count("--target") != 0 ||
           std::any_of(std::begin(kLayoutKeys), std::end(kLayoutKeys), [&](const char* key) {
               return parsed.values.count(std::string("--") + key) != 0;
           });
}

std::optional<ByteLayout> layoutOptions(const ParsedArguments& parsed, std::string& problem) {
    ByteLayout layout;
    if (const std::optional<std::string> target = parsed.value("--target")) {
        const std::optional<ByteLayout> named = layoutForTarget(*target);
        if (!named) {
            problem = "unknown target " + *target;
            return std::nullopt;
        }
        layout = *named;
    }
    for (const char* key : kLayoutKeys) {
        if (const std::optional<std::string> word = parsed.value(std::string("--") + key)) {
            problem = setLayoutWord(layout, key, *word);
            if (!problem.empty()) {
                return std::nullopt;
            }
            if (std::string_view(key) == "depth" && parsed.values.count("--levels") == 0) {
                layout.levels = defaultLevels(layout.depth);
            }
        }
    }
    if (parsed.flags.count("--align") != 0) {
        layout.align = true;
    }
    problem = layoutProblem(layout);
    return problem.empty() ? std::optional(layout) : std::nullopt;
}

}  // namespace stipple::cli
