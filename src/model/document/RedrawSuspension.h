#pragma once
// Suspends redrawing for a scope: many single changes then cost one picture instead of one each.
#include <exception>

#include "model/document/Host.h"

namespace terravel {

class TRedrawSuspension {
 public:
  explicit TRedrawSuspension(THost& host) : host_(host), uncaught_(std::uncaught_exceptions()) {
    host_.SuspendRedraw();
  }
  TRedrawSuspension(const TRedrawSuspension&) = delete;
  TRedrawSuspension& operator=(const TRedrawSuspension&) = delete;

  // Resumes also when the scope is left by an error. The resumed redraw may fail itself; while
  // another error is already on its way, that first error is the one worth reporting.
  ~TRedrawSuspension() noexcept(false) {
    if (std::uncaught_exceptions() == uncaught_) {
      host_.ResumeRedraw();
      return;
    }
    try {
      host_.ResumeRedraw();
    } catch (...) {
    }
  }

 private:
  THost& host_;
  int uncaught_;
};

}  // namespace terravel
