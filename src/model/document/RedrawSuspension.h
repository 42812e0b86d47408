#pragma once
// Suspends redrawing for a scope: many single changes then cost one picture instead of one each.
#include "model/document/Host.h"

namespace terravel {

class TRedrawSuspension {
 public:
  explicit TRedrawSuspension(THost& host) : host_(host) { host_.SuspendRedraw(); }
  TRedrawSuspension(const TRedrawSuspension&) = delete;
  TRedrawSuspension& operator=(const TRedrawSuspension&) = delete;

  // Ends the suspension at the end of the work: the picture it brings may fail, and that error
  // goes to the caller like any other.
  void Resume() {
    if (!suspended_) return;
    suspended_ = false;
    host_.ResumeRedraw();
  }

  // A scope left early (by an error) resumes too. A failure of that picture is dropped: the error
  // already on its way is the one worth reporting, and a destructor must not throw.
  ~TRedrawSuspension() {
    if (!suspended_) return;
    try {
      host_.ResumeRedraw();
    } catch (...) {
    }
  }

 private:
  THost& host_;
  bool suspended_ = true;
};

}  // namespace terravel
