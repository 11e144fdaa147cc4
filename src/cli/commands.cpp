#include "cli/commands.h"

#include <CLI/CLI.hpp>

namespace kestrel {

int RunCommandLine(int argc, char** argv) {
  CLI::App app{"Kestrel keeps arcade ROM sets in order"};
  app.require_subcommand(1);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  return 0;
}

}  // namespace kestrel
