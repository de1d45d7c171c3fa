#pragma once

namespace vantrel {

// Shows the wait cursor for its lifetime and restores the previous cursor afterwards.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace vantrel
