#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark::cli {

using Args = std::vector<std::string>;  // the arguments after the subcommand name

struct CommandSyntax {
    std::string_view usage;
    std::set<std::string, std::less<>> valueOptions;  // "--base" URL
    std::set<std::string, std::less<>> flags;         // "--json"
    std::set<std::string, std::less<>> required;      // value options that must be given
    size_t positionals = 1;          // this many other arguments ("-" counts as one)
    size_t optionalPositionals = 0;  // and up to this many more
};

struct ParsedArgs {
    std::map<std::string, std::string, std::less<>> values;
    std::set<std::string, std::less<>> flags;
    std::vector<std::string> positionals;

    bool Has(std::string_view flag) const { return flags.contains(flag); }
    std::string Value(std::string_view option) const {
        const auto it = values.find(option);
        return it == values.end() ? std::string() : it->second;
    }
};

// Fills `parsed`; on a usage error prints it with the usage line and returns
// the usage exit code, else 0.
int ParseArgs(const Args& args, const CommandSyntax& syntax, ParsedArgs& parsed);

// A whole number from `low` to `high` written as plain digits, else nothing.
std::optional<int> WholeNumber(const std::string& text, int low, int high);

}  // namespace pagelark::cli
