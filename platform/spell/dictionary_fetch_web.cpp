// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary's download, on the load's own thread (a Web Worker): a synchronous
// request, which a worker may make, so that the load reads on as if from a disk. The
// bytes reach the in-memory file system through the C library's file calls, which the
// browser build hands to the page's thread where that file system lives; the worker's
// own JavaScript could not write it.
#include <emscripten/emscripten.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/spell/web_dictionary.h"

namespace {

// The bodies are JavaScript, whose !== the formatter would split.
// clang-format off
// Downloads `url` and keeps its bytes in the worker until taken; gives their number, or
// -1 with the reason on the console.
EM_JS(int, lemmaro_dictionary_download, (const char* url), {
  const where = UTF8ToString(url);
  const request = new XMLHttpRequest();
  try {
    request.open('GET', where, false);
    request.responseType = 'arraybuffer';
    request.send(null);
  } catch (e) {
    console.error('dizionario: ' + where + ' non si può scaricare: ' + e);
    return -1;
  }
  if (request.status !== 200 || !request.response) {
    console.error('dizionario: ' + where + ' non si può scaricare (HTTP ' + request.status + ')');
    return -1;
  }
  self.lemmaroDictionaryBytes = new Uint8Array(request.response);
  return self.lemmaroDictionaryBytes.length;
});

// Copies the bytes kept by the download to `into` and lets them go.
EM_JS(void, lemmaro_dictionary_take, (char* into), {
  HEAPU8.set(self.lemmaroDictionaryBytes, into);
  self.lemmaroDictionaryBytes = null;
});
// clang-format on

bool present(const char* path) {
  struct stat info;
  return ::stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

// The file comes whole or not at all: it is written under a name of its own first, which
// no other load writing the same file at the same time can share.
bool save(const std::string& path, const std::string& bytes) {
  static std::atomic<int> saves{0};
  const std::string part = path + ".part" + std::to_string(saves++);
  std::FILE* f = std::fopen(part.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !written || std::rename(part.c_str(), path.c_str()) != 0) {
    std::remove(part.c_str());
    return false;
  }
  return true;
}

// The site's folder, beside the program's script, that holds the files.
constexpr const char* kSiteFolder = "dictionary/";

void fetch(const char* path) {
  if (present(path)) return;
  const std::string name = path;
  const std::string url = kSiteFolder + name.substr(name.rfind('/') + 1);
  const int size = lemmaro_dictionary_download(url.c_str());
  if (size < 0) return;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  lemmaro_dictionary_take(bytes.data());
  if (!save(name, bytes)) std::fprintf(stderr, "dizionario: %s non si può scrivere\n", path);
}

}  // namespace

namespace spell {

void fetchWebDictionary() {
  for (const char* path : {kWebItalianAff, kWebItalianDic}) {
    const std::string folder = std::string(path).substr(0, std::string(path).rfind('/'));
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return;
    fetch(path);
  }
}

}  // namespace spell
