#pragma once
// The commands of the stipple tool. Each takes the arguments after its name and returns
// the exit status: 0 when every input went through, 1 when an input was refused or an
// output could not be written, 2 for a usage error.

#include <string>
#include <vector>

namespace stipple::cli {

using Arguments = std::vector<std::string>;

constexpr int kSucceeded = 0;
constexpr int kRefused = 1;
constexpr int kUsageError = 2;

int exportCommand(const Arguments& arguments);
int fontCommand(const Arguments& arguments);
int importCommand(const Arguments& arguments);
int infoCommand(const Arguments& arguments);
int thumbnailCommand(const Arguments& arguments);

}  // namespace stipple::cli
