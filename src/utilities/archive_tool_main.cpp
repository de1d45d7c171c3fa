#include <iostream>

#include "core/os_file.h"
#include "platform/program_lock.h"
#include "utilities/archive_tool.h"

int main(int argc, char* argv[]) {
  return vantrel::utilities::RunArchiveTool(vantrel::os::ArgumentsUtf8(argc, argv), std::cout,
                                            std::cerr, vantrel::platform::HoldProgramFolder);
}
