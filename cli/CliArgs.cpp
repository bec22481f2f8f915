#include "cli/CliArgs.h"

#include "cli/CliInput.h"

namespace pagelark::cli {

int ParseArgs(const Args& args, const CommandSyntax& syntax, ParsedArgs& parsed) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (syntax.valueOptions.contains(arg)) {
            if (i + 1 == args.size()) return UsageError(syntax.usage, arg + " needs a value");
            parsed.values[arg] = args[++i];
        } else if (syntax.flags.contains(arg)) {
            parsed.flags.insert(arg);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError(syntax.usage, "unknown option " + arg);
        } else {
            parsed.positionals.push_back(arg);
        }
    }
    for (const std::string& option : syntax.required) {
        if (!parsed.values.contains(option))
            return UsageError(syntax.usage, option + " is missing");
    }
    if (parsed.positionals.size() < syntax.positionals)
        return UsageError(syntax.usage, "a file name is missing");
    if (parsed.positionals.size() > syntax.positionals + syntax.optionalPositionals)
        return UsageError(syntax.usage, syntax.optionalPositionals > 0 ? "too many arguments"
                                                                       : "too many file names");
    return 0;
}

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace pagelark::cli
