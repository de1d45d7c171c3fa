#include <iostream>

#include "platform/program_lock.h"
#include "utilities/archive_tool.h"

int main(int argc, char* argv[]) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return vantrel::utilities::RunArchiveTool(arguments, std::cout, std::cerr,
                                            vantrel::platform::HoldProgramFolder);
}
