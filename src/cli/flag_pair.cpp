#include "cli/flag_pair.h"

#include <CLI/CLI.hpp>

namespace kestrel {

void AddFlagPair(CLI::App& command, const std::string& on, const std::string& off, std::optional<bool>& value,
                 const std::string& help) {
  command.add_flag_function("--" + on + ",!--" + off, [&value](int64_t count) { value = count > 0; }, help);
}

void AddSwitch(CLI::App& command, const std::string& name, std::optional<bool>& value, const std::string& help) {
  AddFlagPair(command, name, "no-" + name, value, help);
}

void ApplySwitch(const std::optional<bool>& value, bool& field) {
  if (value) field = *value;
}

}  // namespace kestrel
