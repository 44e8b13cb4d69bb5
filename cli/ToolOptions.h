// quorvel-lookup's command line: its options, read with CLI11, and the destinations and files
// in the order given.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quorvel {

enum class OutputFormat { Text, Csv, Json };

// A destination given as an argument, or a file of them ("-": standard input).
struct ToolInput {
    enum class Kind { Destination, File };
    Kind kind = Kind::Destination;
    std::string text;
};

// How many lookups run at once, and how many exchanges with one server, unless asked otherwise.
inline constexpr unsigned kDefaultJobs = 8;
inline constexpr unsigned kDefaultPerServer = 2;

struct ToolOptions {
    bool verbose = false;
    bool help = false;
    bool version = false;
    std::vector<ToolInput> inputs;
    bool extract = false;
    OutputFormat format = OutputFormat::Text;
    unsigned jobs = kDefaultJobs;
    unsigned perServer = kDefaultPerServer;
    bool noProgress = false;
    // Set when any of the options for many destinations was given (a file, --extract,
    // --format, --jobs, --per-server, --no-progress): the destinations then run as a batch.
    // Without them quorvel-lookup asks one destination after another, as it always has.
    bool batch = false;
};

// The options in `args` (without the program name); none after a usage error, which has been
// written to `err`.
std::optional<ToolOptions> ParseToolOptions(const std::vector<std::string>& args,
                                            std::ostream& err);

}  // namespace quorvel
