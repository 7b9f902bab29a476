// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font configuration, read ahead. The first text a window lays out makes the font
// library read its whole configuration (some forty files here), a few milliseconds
// that would stand between the window and its first frame. Made at the top of main,
// this reads it on a thread of its own while Qt connects to the display; Qt then finds
// the configuration already made. Without it, nothing changes but the wait.
#include <thread>

namespace qthost {

class FontWarmUp {
 public:
  FontWarmUp();
  ~FontWarmUp();  // waits for the reading, if it is still going
  FontWarmUp(const FontWarmUp&) = delete;
  FontWarmUp& operator=(const FontWarmUp&) = delete;

 private:
  std::thread thread_;
};

}  // namespace qthost
