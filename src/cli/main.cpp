#include "cli/commands.h"

int main(int argc, char** argv) { return kestrel::RunCommandLine(argc, argv); }
