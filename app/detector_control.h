// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cards1, the sound-card detector control, created by its registered name with the
// window and released with it.
#include <string>

struct IDispatch;

class DetectorControl {
 public:
  DetectorControl();
  ~DetectorControl();
  DetectorControl(const DetectorControl&) = delete;
  DetectorControl& operator=(const DetectorControl&) = delete;

  // The control, or null when it could not be created; why() then says why.
  IDispatch* get() const { return cards_; }
  const std::string& why() const { return why_; }

 private:
  IDispatch* cards_ = nullptr;
  std::string why_;
};
