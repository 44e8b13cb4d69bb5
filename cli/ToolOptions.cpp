#include "ToolOptions.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <string_view>

namespace quorvel {
namespace {

struct OptionName {
    std::string_view longName;
    char shortName;  // 0: none
    bool takesValue;
};

constexpr OptionName kVerbose{"verbose", 'v', false};
constexpr OptionName kHelp{"help", 0, false};
constexpr OptionName kVersion{"version", 0, false};
constexpr OptionName kFile{"file", 'f', true};
constexpr OptionName kExtract{"extract", 0, false};
constexpr OptionName kFormat{"format", 0, true};
constexpr OptionName kJobs{"jobs", 0, true};
constexpr OptionName kPerServer{"per-server", 0, true};
constexpr OptionName kNoProgress{"no-progress", 0, false};
constexpr const OptionName* kOptionNames[] = {
    &kVerbose, &kHelp, &kVersion, &kFile, &kExtract, &kFormat, &kJobs, &kPerServer, &kNoProgress};

// "-v,--verbose", as CLI11 names an option.
std::string Names(const OptionName& option) {
    std::string names;
    if (option.shortName != 0) {
        names = std::string("-") + option.shortName + ",";
    }
    return names + "--" + std::string(option.longName);
}

const OptionName* FindLong(std::string_view name) {
    for (const OptionName* option : kOptionNames) {
        if (option->longName == name) {
            return option;
        }
    }
    return nullptr;
}

const OptionName* FindShort(char name) {
    for (const OptionName* option : kOptionNames) {
        if (option->shortName == name) {
            return option;
        }
    }
    return nullptr;
}

void ReportUsageError(std::ostream& err, const std::string& what) {
    err << "quorvel-lookup: " << what << "\n"
        << "Try 'quorvel-lookup --help' for more information.\n";
}

// quorvel-lookup has always named the first unknown option this way, and read every other
// argument that begins with '-' (a negative number included) as one: CLI11 would take some of
// them for destinations. Arguments after "--" are destinations.
bool HasNoUnknownOption(const std::vector<std::string>& args, std::ostream& err) {
    for (std::size_t index = 0; index < args.size(); ++index) {
        const std::string& arg = args[index];
        if (arg == "--") {
            return true;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            continue;
        }
        bool valueFollows = false;
        bool known = true;
        if (arg[1] == '-') {
            const std::string_view name = std::string_view(arg).substr(2, arg.find('=') - 2);
            const OptionName* option = FindLong(name);
            known = option != nullptr;
            valueFollows = known && option->takesValue && arg.find('=') == std::string::npos;
        } else {
            for (std::size_t at = 1; at < arg.size() && known; ++at) {
                const OptionName* option = FindShort(arg[at]);
                known = option != nullptr;
                if (known && option->takesValue) {
                    valueFollows = at + 1 == arg.size();
                    break;  // the rest of the argument is the option's value
                }
            }
        }
        if (!known) {
            ReportUsageError(err, "unknown option '" + arg + "'");
            return false;
        }
        index += valueFollows ? 1 : 0;
    }
    return true;
}

bool IsBatch(const CLI::App& app) {
    for (const OptionName* option :
         {&kFile, &kExtract, &kFormat, &kJobs, &kPerServer, &kNoProgress}) {
        if (app.count("--" + std::string(option->longName)) > 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<ToolOptions> ParseToolOptions(const std::vector<std::string>& args,
                                            std::ostream& err) {
    if (!HasNoUnknownOption(args, err)) {
        return std::nullopt;
    }
    ToolOptions options;
    std::vector<std::string> destinations;
    std::vector<std::string> files;
    std::string format = "text";

    CLI::App app;
    app.set_help_flag();  // quorvel-lookup writes its own help
    const auto last = CLI::MultiOptionPolicy::TakeLast;
    app.add_flag(Names(kVerbose), options.verbose)->multi_option_policy(last);
    app.add_flag(Names(kHelp), options.help)->multi_option_policy(last);
    app.add_flag(Names(kVersion), options.version)->multi_option_policy(last);
    CLI::Option* fileOption =
        app.add_option(Names(kFile), files)->expected(1)->allow_extra_args(false);
    app.add_flag(Names(kExtract), options.extract)->multi_option_policy(last);
    app.add_option(Names(kFormat), format)
        ->check(CLI::IsMember({"text", "csv", "json"}))
        ->multi_option_policy(last);
    app.add_option(Names(kJobs), options.jobs)->check(CLI::Range(1, 32))->multi_option_policy(last);
    app.add_option(Names(kPerServer), options.perServer)
        ->check(CLI::Range(1, 4))
        ->multi_option_policy(last);
    app.add_flag(Names(kNoProgress), options.noProgress)->multi_option_policy(last);
    CLI::Option* destinationOption = app.add_option("destinations", destinations);

    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        ReportUsageError(err, error.what());
        return std::nullopt;
    }

    // The arguments and files in the order given.
    std::size_t nextFile = 0;
    std::size_t nextDestination = 0;
    for (const CLI::Option* option : app.parse_order()) {
        if (option == fileOption && nextFile < files.size()) {
            options.inputs.push_back({ToolInput::Kind::File, files[nextFile++]});
        } else if (option == destinationOption && nextDestination < destinations.size()) {
            options.inputs.push_back(
                {ToolInput::Kind::Destination, destinations[nextDestination++]});
        }
    }
    options.format = format == "csv"    ? OutputFormat::Csv
                     : format == "json" ? OutputFormat::Json
                                        : OutputFormat::Text;
    options.batch = IsBatch(app);
    return options;
}

}  // namespace quorvel
