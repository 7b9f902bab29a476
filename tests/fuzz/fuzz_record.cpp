// SPDX-License-Identifier: GPL-3.0-or-later
// Record.RCX as any bytes, and the best-score line composed from any name, score and
// level: what the reader shows must come from the file, and a line the game writes must
// read back to the score and level it was written with.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/window/data_files.h"
#include "game/window/record_line.h"
#include "game/window/text.h"
#include "platform/forms/cp1252.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The shown record must be the tail of the file's text, spaces left out, at a point
// where the file has a space: a word, or words carried into each other.
void checkReader(const std::string& stored) {
  std::string shown = "unchanged";
  if (!datafiles::readRecord(stored, shown)) {
    check(shown == "unchanged");
    return;
  }
  check(!shown.empty() && shown[0] >= '1' && shown[0] <= '5');
  check(shown.find(' ') == std::string::npos);
  const std::string text = datafiles::scramble(stored);
  std::string joined;
  bool found = false;
  for (char c : text) {
    if (c != ' ')
      joined += c;
    else if (endsWith(joined, shown))
      found = true;
  }
  check(found);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  // The name box holds up to three characters, which the clock keeps in capitals.
  const std::string name = forms::cp1252Upper(input.ConsumeRandomLengthString(3).substr(0, 3));
  const auto score = input.ConsumeIntegralInRange<std::uint32_t>(0, 99'999'999);
  const int level = input.ConsumeIntegralInRange<int>(1, 9);
  const std::string scoreCaption = scoreText(score);
  const std::string levelCaption = "0" + std::to_string(level);

  const std::string line = recordline::compose(name, scoreCaption, levelCaption);
  std::string shown;
  check(datafiles::readRecord(datafiles::scramble(line), shown));
  check(shown + " " == line);
  check(recordline::score(shown) == static_cast<double>(score));
  check(endsWith(shown, "...." + levelCaption));

  checkReader(input.ConsumeRemainingBytesAsString());
  return 0;
}
