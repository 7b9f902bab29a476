// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/com/registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include "platform/com/guid.h"
#include "platform/com/reason.h"
#include "platform/files/home_folder.h"
#include "platform/files/replace_file.h"

namespace fs = std::filesystem;

namespace com::registry {

namespace {

// A value is one short line; anything longer than a path can be is damage.
constexpr std::size_t kMaxValueBytes = 4096;

HRESULT fromErrno(int err) {
  return (err == EACCES || err == EPERM || err == EROFS) ? E_ACCESSDENIED : E_FAIL;
}

// Shows a damaged value in a message without letting control bytes through.
std::string shown(std::string_view text) {
  std::string s = "'";
  for (std::size_t i = 0; i < text.size() && i < 60; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    s += (c >= 0x20 && c != 0x7F) ? static_cast<char>(c) : '?';
  }
  if (text.size() > 60) s += "...";
  return s + "'";
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

enum class Read { ok, missing, damaged };

// Reads a one-line value; its trailing newline, if any, is not part of it.
Read readValue(const fs::path& file, std::string* value, std::string* reason) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR) {
      setReason(reason, "no " + file.string());
      return Read::missing;
    }
    setReason(reason, "cannot read " + file.string() + ": " + std::strerror(err));
    return Read::damaged;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    setReason(reason, "registry damaged: " + file.string() + " is not a regular file");
    return Read::damaged;
  }
  std::string data;
  char buf[1024];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      setReason(reason, "cannot read " + file.string() + ": " + std::strerror(err));
      return Read::damaged;
    }
    if (n == 0) break;
    data.append(buf, static_cast<std::size_t>(n));
    if (data.size() > kMaxValueBytes) {
      ::close(fd);
      setReason(reason, "registry damaged: " + file.string() + " is far too long");
      return Read::damaged;
    }
  }
  ::close(fd);
  if (!data.empty() && data.back() == '\n') data.pop_back();
  if (!data.empty() && data.back() == '\r') data.pop_back();
  if (data.find_first_of(std::string_view("\0\n", 2)) != std::string::npos) {
    setReason(reason, "registry damaged: " + file.string() + " holds more than one line");
    return Read::damaged;
  }
  *value = std::move(data);
  return Read::ok;
}

// Replaces dir/name with `value` so that readers see the old value or the new one,
// never a mixture: the files layer's durable replace.
HRESULT writeValue(const fs::path& dir, const std::string& name, std::string_view value,
                   std::string* reason) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) {
    setReason(reason, "cannot create " + dir.string() + ": " + ec.message());
    return fromErrno(ec.value());
  }
  std::string line(value);
  line += '\n';
  if (base::Status written = files::replaceFile((dir / name).string(), line); !written) {
    setReason(reason, written.error().message);
    return fromErrno(written.error().code);
  }
  return S_OK;
}

// Removes a file that may already be gone.
HRESULT removeValue(const fs::path& file, std::string* reason) {
  if (::unlink(file.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR) return S_OK;
  const int err = errno;
  setReason(reason, "cannot remove " + file.string() + ": " + std::strerror(err));
  return fromErrno(err);
}

void removeIfEmpty(const fs::path& dir) { ::rmdir(dir.c_str()); }

// The ProgID's folder, found without regard to case; empty when there is none.
fs::path progIdFolder(const fs::path& base, std::string_view progId) {
  const fs::path exact = base / "ProgID" / std::string(progId);
  std::error_code ec;
  if (fs::is_directory(exact, ec)) return exact;
  for (fs::directory_iterator it(base / "ProgID", ec), end; !ec && it != end; it.increment(ec)) {
    if (equalsIgnoreCase(it->path().filename().string(), progId)) return it->path();
  }
  return {};
}

fs::path classFolder(const fs::path& base, REFCLSID clsid) {
  return base / "CLSID" / toString(clsid);
}

}  // namespace

fs::path root() {
  fs::path base;
  // XDG says a relative XDG_DATA_HOME is invalid and must be ignored.
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
    base = xdg;
  else if (fs::path home = files::homeFolder(); !home.empty())
    base = home / ".local" / "share";
  else
    return {};
  return base / "com-registry";
}

bool isValidProgID(std::string_view progId) {
  if (progId.empty() || progId.size() > 39) return false;
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (!letter(progId.front())) return false;
  for (char c : progId)
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '.') return false;
  return true;
}

std::vector<fs::path> systemRoots() {
  std::vector<fs::path> roots;
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  // XDG: unset or empty means the default; entries that are not absolute are ignored.
  const std::string_view list = (dirs && *dirs) ? dirs : "/usr/local/share:/usr/share";
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view dir = list.substr(start, end - start);
    if (!dir.empty() && dir.front() == '/') {
      fs::path r = fs::path(std::string(dir)) / "com-registry";
      r = r.lexically_normal();
      if (std::find(roots.begin(), roots.end(), r) == roots.end()) roots.push_back(r);
    }
    start = end + 1;
  }
  return roots;
}

namespace {

// The registries in the order they are read: the user's own first, then the machine's.
std::vector<fs::path> searchedRoots() {
  std::vector<fs::path> roots;
  if (fs::path user = root(); !user.empty()) roots.push_back(std::move(user));
  for (fs::path& r : systemRoots())
    if (std::find(roots.begin(), roots.end(), r) == roots.end()) roots.push_back(std::move(r));
  return roots;
}

// Reads one value of the registry: `where` names its file below a registry's root.
// The first registry that holds the value decides, so a user's registration goes
// before the machine's; a value found damaged there is reported, not skipped, so a
// broken registration never hides behind another one. A value that is nowhere is
// "not registered", `missing` saying what is missing and where it was looked for.
template <class Where>
HRESULT lookUp(Where where, const std::string& missing, fs::path* file, std::string* text,
               std::string* reason) {
  std::string looked;  // every place it was looked for, for the message
  for (const fs::path& base : searchedRoots()) {
    *file = where(base);
    std::string why;
    switch (readValue(*file, text, &why)) {
      case Read::missing:
        looked += (looked.empty() ? "" : ", ") + why;
        continue;
      case Read::damaged:
        setReason(reason, why);
        return REGDB_E_CLASSNOTREG;
      case Read::ok:
        return S_OK;
    }
  }
  setReason(reason, missing + " (" + looked + ")");
  return REGDB_E_CLASSNOTREG;
}

}  // namespace

HRESULT clsidFromProgID(std::string_view progId, CLSID* clsid, std::string* reason) {
  if (!clsid) return E_POINTER;
  if (!isValidProgID(progId)) {
    setReason(reason, shown(progId) + " is not a valid ProgID");
    return CO_E_CLASSSTRING;
  }
  fs::path file;
  std::string text;
  const HRESULT found = lookUp(
      [&](const fs::path& base) {
        const fs::path folder = progIdFolder(base, progId);
        return (folder.empty() ? base / "ProgID" / std::string(progId) : folder) / "CLSID";
      },
      std::string(progId) + " is not registered", &file, &text, reason);
  if (found < 0) return found;
  if (!parseGuid(text, clsid)) {
    setReason(reason, "registry damaged: " + file.string() + " holds " + shown(text) +
                          ", not a CLSID in braces");
    return CO_E_CLASSSTRING;
  }
  return S_OK;
}

HRESULT inprocServer(REFCLSID clsid, std::string* libraryPath, std::string* reason) {
  if (!libraryPath) return E_POINTER;
  fs::path file;
  std::string text;
  const HRESULT found =
      lookUp([&](const fs::path& base) { return classFolder(base, clsid) / "InprocServer32"; },
             "class " + toString(clsid) + " is not registered", &file, &text, reason);
  if (found < 0) return found;
  if (text.empty()) {
    setReason(reason, "registry damaged: " + file.string() + " is empty");
    return REGDB_E_CLASSNOTREG;
  }
  // A bare name would make the loader search the library path: another library
  // of that name could be picked up instead of the registered one.
  if (text.front() != '/') {
    setReason(reason, "registry damaged: " + file.string() + " holds " + shown(text) +
                          ", not an absolute path");
    return REGDB_E_CLASSNOTREG;
  }
  *libraryPath = std::move(text);
  return S_OK;
}

HRESULT progIDFromCLSID(REFCLSID clsid, std::string* progId, std::string* reason) {
  if (!progId) return E_POINTER;
  fs::path file;
  std::string text;
  const HRESULT found =
      lookUp([&](const fs::path& base) { return classFolder(base, clsid) / "ProgID"; },
             "class " + toString(clsid) + " has no ProgID", &file, &text, reason);
  if (found < 0) return found;
  if (!isValidProgID(text)) {
    setReason(reason,
              "registry damaged: " + file.string() + " holds " + shown(text) + ", not a ProgID");
    return REGDB_E_CLASSNOTREG;
  }
  *progId = std::move(text);
  return S_OK;
}

HRESULT registerServer(REFCLSID clsid, std::string_view progId, std::string_view libraryPath,
                       std::string* reason) {
  if (!isValidProgID(progId)) {
    setReason(reason, shown(progId) + " is not a valid ProgID");
    return E_INVALIDARG;
  }
  if (libraryPath.empty() || libraryPath.front() != '/' ||
      libraryPath.find_first_of(std::string_view("\0\n\r", 3)) != std::string_view::npos) {
    setReason(reason, shown(libraryPath) + " is not an absolute library path");
    return E_INVALIDARG;
  }
  const fs::path base = root();
  if (base.empty()) {
    setReason(reason, "no registry: neither XDG_DATA_HOME nor a home folder is known");
    return E_FAIL;
  }
  const fs::path cls = classFolder(base, clsid);
  HRESULT hr = writeValue(cls, "InprocServer32", libraryPath, reason);
  if (SUCCEEDED(hr)) hr = writeValue(cls, "ProgID", progId, reason);
  if (SUCCEEDED(hr))
    hr = writeValue(base / "ProgID" / std::string(progId), "CLSID", toString(clsid), reason);
  return hr;
}

HRESULT unregisterServer(REFCLSID clsid, std::string_view progId, std::string* reason) {
  if (!isValidProgID(progId)) {
    setReason(reason, shown(progId) + " is not a valid ProgID");
    return E_INVALIDARG;
  }
  const fs::path base = root();
  if (base.empty()) return S_OK;  // nothing can be registered where there is no registry

  HRESULT hr = S_OK;
  if (const fs::path folder = progIdFolder(base, progId); !folder.empty()) {
    // Leave the entry alone only when it validly names another class; one that
    // is ours or damaged beyond use goes.
    CLSID current{};
    std::string text;
    const bool anotherClass = readValue(folder / "CLSID", &text, nullptr) == Read::ok &&
                              parseGuid(text, &current) && current != clsid;
    if (!anotherClass) hr = removeValue(folder / "CLSID", reason);
    removeIfEmpty(folder);
  }
  const fs::path cls = classFolder(base, clsid);
  if (SUCCEEDED(hr)) hr = removeValue(cls / "InprocServer32", reason);
  if (SUCCEEDED(hr)) hr = removeValue(cls / "ProgID", reason);
  removeIfEmpty(cls);
  return hr;
}

std::vector<CLSID> classesServedBy(const fs::path& base, std::string_view libraryPath) {
  std::vector<CLSID> found;
  if (base.empty()) return found;
  std::error_code ec;
  for (fs::directory_iterator it(base / "CLSID", ec), end; !ec && it != end; it.increment(ec)) {
    CLSID clsid{};
    std::string path;
    if (parseGuid(it->path().filename().string(), &clsid) &&
        readValue(it->path() / "InprocServer32", &path, nullptr) == Read::ok && path == libraryPath)
      found.push_back(clsid);
  }
  return found;
}

HRESULT moveServers(const fs::path& base, std::string_view from, std::string_view to,
                    std::string* reason) {
  if (to.empty() || to.front() != '/' ||
      to.find_first_of(std::string_view("\0\n\r", 3)) != std::string_view::npos) {
    setReason(reason, shown(to) + " is not an absolute library path");
    return E_INVALIDARG;
  }
  for (const CLSID& clsid : classesServedBy(base, from))
    if (HRESULT hr = writeValue(classFolder(base, clsid), "InprocServer32", to, reason); FAILED(hr))
      return hr;
  return S_OK;
}

}  // namespace com::registry
