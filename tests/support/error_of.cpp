#include "support/error_of.h"

#include "core/error.h"

namespace vantrel::testing {

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return {};
}

}  // namespace vantrel::testing
