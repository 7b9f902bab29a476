// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's home folder, where the per-user data folders live when XDG_DATA_HOME does
// not say otherwise.
#include <filesystem>

namespace files {

// $HOME when it is an absolute path, else the password database's entry for this user;
// empty when neither knows one.
std::filesystem::path homeFolder();

}  // namespace files
