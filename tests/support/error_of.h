#pragma once

#include <functional>
#include <string>

namespace vantrel::testing {

// The message of the Error action throws; empty when it throws none.
std::string ErrorOf(const std::function<void()>& action);

}  // namespace vantrel::testing
