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

// The destinations and files, in the order given, read from the arguments as they stand: CLI11
// would take a destination such as "[192.0.2.1]" or "[a,b]" for a list and change it. The first
// unknown option is reported as quorvel-lookup always has, every other argument that begins with
// '-' (a negative number included) counting as one; arguments after "--" are destinations.
std::optional<std::vector<ToolInput>> InputsIn(const std::vector<std::string>& args,
                                               std::ostream& err) {
    std::vector<ToolInput> inputs;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < args.size(); ++index) {
        const std::string& arg = args[index];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            inputs.push_back({ToolInput::Kind::Destination, arg});
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const OptionName* option = nullptr;
        std::optional<std::string> attachedValue;
        if (arg[1] == '-') {
            const std::size_t equals = arg.find('=');
            option = FindLong(std::string_view(arg).substr(2, equals - 2));
            if (equals != std::string::npos) {
                attachedValue = arg.substr(equals + 1);
            }
        } else {
            for (std::size_t at = 1; at < arg.size(); ++at) {
                option = FindShort(arg[at]);
                if (option == nullptr) {
                    break;
                }
                if (option->takesValue) {
                    if (at + 1 < arg.size()) {
                        attachedValue = arg.substr(at + 1);  // "-fFILE"
                    }
                    break;
                }
            }
        }
        if (option == nullptr) {
            ReportUsageError(err, "unknown option '" + arg + "'");
            return std::nullopt;
        }
        if (!option->takesValue) {
            continue;
        }
        if (!attachedValue && index + 1 < args.size()) {
            attachedValue = args[++index];
        }
        if (option == &kFile && attachedValue) {
            inputs.push_back({ToolInput::Kind::File, *attachedValue});
        }
    }
    return inputs;
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
    std::optional<std::vector<ToolInput>> inputs = InputsIn(args, err);
    if (!inputs) {
        return std::nullopt;
    }
    ToolOptions options;
    // CLI11 reads the options; the destinations and files it is given are only counted (and
    // checked for a missing file name): they are taken as they stand from InputsIn.
    std::vector<std::string> destinations;
    std::vector<std::string> files;
    std::string format = "text";

    CLI::App app;
    app.set_help_flag();  // quorvel-lookup writes its own help
    const auto last = CLI::MultiOptionPolicy::TakeLast;
    app.add_flag(Names(kVerbose), options.verbose)->multi_option_policy(last);
    app.add_flag(Names(kHelp), options.help)->multi_option_policy(last);
    app.add_flag(Names(kVersion), options.version)->multi_option_policy(last);
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
    app.add_option("destinations", destinations);

    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        ReportUsageError(err, error.what());
        return std::nullopt;
    }

    options.inputs = std::move(*inputs);
    options.format = format == "csv"    ? OutputFormat::Csv
                     : format == "json" ? OutputFormat::Json
                                        : OutputFormat::Text;
    options.batch = IsBatch(app);
    return options;
}

}  // namespace quorvel
