// Yes/no options given as a pair of opposite flags ("--zip" / "--folders",
// "--recursive" / "--no-recursive"). The value stays unset when neither
// flag is given: a flag bound to the setting directly would set it anyway,
// hiding the profile's value.
#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace kestrel {

// Registers "--" + `on` and "--" + `off` for `value`; the last one given wins.
void AddFlagPair(CLI::App& command, const std::string& on, const std::string& off, std::optional<bool>& value,
                 const std::string& help);

// AddFlagPair with the pair "--" + `name` / "--no-" + `name`.
void AddSwitch(CLI::App& command, const std::string& name, std::optional<bool>& value, const std::string& help);

// Stores the value at `field` when one of its flags was given.
void ApplySwitch(const std::optional<bool>& value, bool& field);

}  // namespace kestrel
