// SPDX-License-Identifier: GPL-3.0-or-later
// A program for checking the browser runner: it does what its arguments say, the way a
// test program may end.
//
//   runner_check exit CODE     writes a line to each output, then returns CODE
//   runner_check abort         writes a line, then aborts
//   runner_check throw         lets an exception out of main
//   runner_check hang          never ends
//   runner_check thread        joins a thread of its own that wrote a line, then returns 0
//   runner_check args ...      writes each further argument in brackets, one a line
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "exit" && argc > 2) {
    std::cout << "to standard output: 100% [ok] \xc3\xa8" << std::endl;
    std::cerr << "to standard error" << std::endl;
    return std::atoi(argv[2]);
  }
  if (what == "abort") {
    std::cout << "about to abort" << std::endl;
    std::abort();
  }
  if (what == "throw") throw std::runtime_error("out of main");
  if (what == "hang") {
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  if (what == "thread") {
    std::thread second([] { std::cout << "from a second thread" << std::endl; });
    second.join();
    return 0;
  }
  if (what == "args") {
    for (int i = 2; i < argc; ++i) std::cout << '[' << argv[i] << ']' << std::endl;
    return 0;
  }
  std::cerr << "runner_check: unknown request '" << what << "'" << std::endl;
  return 2;
}
