// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the control's library as a host does, on whichever system the tests run:
// the same test sources drive the library on Linux and Windows.
#pragma once

namespace testing_library {

// The library at `path`, loaded for the rest of the process; null when it cannot be.
void* open(const char* path);

// The exported function `name` of a library from open(); null when there is none.
void* entryPoint(void* library, const char* name);

}  // namespace testing_library
