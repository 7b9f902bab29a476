// SPDX-License-Identifier: GPL-3.0-or-later
// A small file-based class registry, laid out like the Windows keys it stands for:
//
//   <root>/ProgID/<ProgID>/CLSID           {CLSID}, braced, upper-case hex
//   <root>/CLSID/<{CLSID}>/InprocServer32  absolute path of the library
//   <root>/CLSID/<{CLSID}>/ProgID          the ProgID
//
// with <root> = ${XDG_DATA_HOME:-$HOME/.local/share}/com-registry for the user's own
// registrations; the machine's are read after them, from com-registry/ under each
// folder of ${XDG_DATA_DIRS:-/usr/local/share:/usr/share}. registerServer and
// unregisterServer write the user's registry: regsvr reaches a machine's one by
// pointing XDG_DATA_HOME at the folder that holds it. Each value is a
// one-line file, replaced atomically (temporary file in the same folder, then
// rename) so that a reader never sees half a value. Readers treat anything odd as
// "not registered" and say why; nothing here throws.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/types.h"

namespace com::registry {

// Empty when neither XDG_DATA_HOME nor a home folder can be found. Read afresh on
// every call, so a changed XDG_DATA_HOME takes effect at once.
std::filesystem::path root();

// The machine's registries, in the order they are read (after root()).
std::vector<std::filesystem::path> systemRoots();

// ProgIDs name folders, so only the Windows form is accepted: 1 to 39 characters,
// letters, digits and periods, starting with a letter.
bool isValidProgID(std::string_view progId);

// ProgIDs are matched without regard to case, as on Windows.
HRESULT clsidFromProgID(std::string_view progId, CLSID* clsid, std::string* reason = nullptr);
HRESULT inprocServer(REFCLSID clsid, std::string* libraryPath, std::string* reason = nullptr);
HRESULT progIDFromCLSID(REFCLSID clsid, std::string* progId, std::string* reason = nullptr);

// Writes the three values; the ProgID entry last, so it never points at a class
// whose library is not recorded yet.
HRESULT registerServer(REFCLSID clsid, std::string_view progId, std::string_view libraryPath,
                       std::string* reason = nullptr);
// Removes the class's values, and the ProgID's entry if it still names this class
// (another server may have taken the ProgID over since). Missing entries are fine.
HRESULT unregisterServer(REFCLSID clsid, std::string_view progId, std::string* reason = nullptr);

// The classes that the registry at `base` (a root, user's or machine's) serves from
// exactly this library path.
std::vector<CLSID> classesServedBy(const std::filesystem::path& base, std::string_view libraryPath);
// Records the classes served from `from` as served from `to`: a library registered
// while it sits in an install root is recorded where it will be installed.
HRESULT moveServers(const std::filesystem::path& base, std::string_view from, std::string_view to,
                    std::string* reason = nullptr);

}  // namespace com::registry
