#include "cli/CliArgs.h"

#include "cli/CliInput.h"

namespace pagelark::cli {

int ParseArgs(const Args& args, const ArgSpec& spec, ParsedArgs& parsed) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (spec.valueOptions.contains(arg)) {
            if (i + 1 == args.size()) return UsageError(spec.usage, arg + " needs a value");
            parsed.values[arg] = args[++i];
        } else if (spec.flags.contains(arg)) {
            parsed.flags.insert(arg);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError(spec.usage, "unknown option " + arg);
        } else {
            parsed.positionals.push_back(arg);
        }
    }
    for (const std::string& option : spec.required) {
        if (!parsed.values.contains(option)) return UsageError(spec.usage, option + " is missing");
    }
    if (parsed.positionals.size() < spec.positionals)
        return UsageError(spec.usage, "a file name is missing");
    if (parsed.positionals.size() > spec.positionals)
        return UsageError(spec.usage, "too many file names");
    return 0;
}

}  // namespace pagelark::cli
