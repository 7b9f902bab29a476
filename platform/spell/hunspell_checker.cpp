// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/spell/hunspell_checker.h"

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <cctype>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>
#include <utility>

#include "platform/files/read_file.h"
#include "platform/forms/cp1252.h"
#include "platform/spell/encoding.h"
#include "platform/spell/hunspell_files.h"
#include "platform/spell/trimmed_dictionary.h"

namespace spell {
namespace {

struct Dictionary {
  enum class Encoding { Utf8, Latin1 };
  std::unique_ptr<Hunspell> hunspell;
  Encoding encoding = Encoding::Utf8;
  std::size_t longestWord = 0;  // the longest word it can answer for; 0: any
  // Hunspell keeps scratch state between calls; checks are serialised so that a
  // checker used off the game's thread cannot corrupt another's answer.
  std::mutex mutex;
};

struct Loaded {
  std::shared_ptr<Dictionary> dictionary;  // null when the load failed
  std::string error;
  // A file that is missing or unreadable may be put right while the game runs, and
  // finding that out again costs nothing; a dictionary that loaded but cannot be used
  // would cost a whole load to fail again.
  bool worthRetrying = false;
};

// Hunspell opens its files without telling why one cannot be read, and takes a
// missing file as an empty dictionary; so each file is checked here first, without
// waiting on a pipe or reading a device, and the reason is the player's language.
std::string unreadable(const std::string& path) {
  const base::Result<std::string> head = files::readRegularFile(path, 0);
  return head ? std::string() : head.error().message;
}

// A Hunspell word file starts with the number of words (after an optional UTF-8 byte
// order mark); anything else is not a dictionary, and Hunspell would accept nothing.
std::string notAWordFile(const std::string& path) {
  const base::Result<std::string> head = files::readRegularFile(path, 16);
  if (!head) return head.error().message;
  const std::size_t i = head->compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  if (i < head->size() && std::isdigit(static_cast<unsigned char>((*head)[i]))) return {};
  return path + ": non è un file di parole di Hunspell (non comincia con il numero delle parole)";
}

// Hunspell over the part of the files that answers for words of up to `longest`
// characters, or over the whole files when they cannot be trimmed (or `longest` is 0).
std::unique_ptr<Hunspell> openHunspell(const std::string& aff, const std::string& dic,
                                       std::size_t longest, std::size_t& answersUpTo) {
  answersUpTo = 0;
  if (longest > 0) {
    const auto affText = files::readRegularFile(aff, std::size_t(-1));
    const auto dicText = files::readRegularFile(dic, std::size_t(-1));
    if (affText && dicText) {
      if (const auto trimmed = trimDictionary(*affText, *dicText, longest)) {
        const MemoryFile affFile(trimmed->aff), dicFile(trimmed->dic);
        if (affFile.ok() && dicFile.ok()) {
          answersUpTo = longest;
          return std::make_unique<Hunspell>(affFile.path().c_str(), dicFile.path().c_str());
        }
      }
    }
  }
  return std::make_unique<Hunspell>(hunspellPath(aff).c_str(), hunspellPath(dic).c_str());
}

Loaded load(const std::string& aff, const std::string& dic, std::size_t longest) {
  for (const std::string* path : {&aff, &dic})
    if (auto error = unreadable(*path); !error.empty()) return {nullptr, error, true};
  if (auto error = notAWordFile(dic); !error.empty()) return {nullptr, error, true};

  auto dictionary = std::make_shared<Dictionary>();
  dictionary->hunspell = openHunspell(aff, dic, longest, dictionary->longestWord);
  std::string name;
  for (char c : dictionary->hunspell->get_dict_encoding())
    if (std::isalnum(static_cast<unsigned char>(c)))
      name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name == "UTF8") {
    dictionary->encoding = Dictionary::Encoding::Utf8;
  } else if (name == "ISO88591" || name == "LATIN1") {
    dictionary->encoding = Dictionary::Encoding::Latin1;
  } else {
    return {nullptr,
            aff + ": the dictionary's encoding " + dictionary->hunspell->get_dict_encoding() +
                " is not supported (UTF-8 or ISO8859-1 only)",
            false};
  }
  // Warm the checker here, on the load's own thread: the first verdicts pay for cold
  // caches and lazily built tables, and the player's first confirmation should not,
  // nor should the window wait for a warm-up of its own.
  for (const char* word : {"casa", "Casa", "parola", "Parola", "qzxw", "Qzxw", "roma", "Roma"})
    dictionary->hunspell->spell(std::string(word));
  // The files' text and Hunspell's scratch are freed by now, but in holes the allocator
  // keeps for itself; give the pages back, or the game would hold the load's peak.
  returnFreeMemory();
  return {std::move(dictionary), {}, false};
}

bool failedForNow(const std::shared_future<Loaded>& load) {
  return load.valid() && load.wait_for(std::chrono::seconds(0)) == std::future_status::ready &&
         !load.get().dictionary && load.get().worthRetrying;
}

// A load in progress or done, shared by every provider of the same pair of files.
struct SharedLoad {
  std::shared_future<Loaded> result;
};

// The load runs on a thread of its own that nobody joins: a load stuck on its files
// must hold up neither a check nor the end of the program.
std::shared_future<Loaded> startLoad(std::string aff, std::string dic, std::size_t longest,
                                     std::function<void()> beforeLoad) {
  std::promise<Loaded> promise;
  std::shared_future<Loaded> result = promise.get_future().share();
  std::thread([promise = std::move(promise), aff = std::move(aff), dic = std::move(dic), longest,
               beforeLoad = std::move(beforeLoad)]() mutable {
    try {
      if (beforeLoad) beforeLoad();
      promise.set_value(load(aff, dic, longest));
    } catch (...) {
      promise.set_exception(std::current_exception());
    }
  }).detach();
  return result;
}

// One load per pair of files while any provider of them lives, which for the game is
// the whole process. When the last provider goes, its dictionary goes with the last
// checker, or with the load's thread if it is still loading.
std::shared_ptr<SharedLoad> sharedLoad(const std::string& aff, const std::string& dic,
                                       std::size_t longest,
                                       const std::function<void()>& beforeLoad) {
  static std::mutex mutex;
  static std::map<std::tuple<std::string, std::string, std::size_t>, std::weak_ptr<SharedLoad>>
      loads;
  std::lock_guard lock(mutex);
  auto& slot = loads[{aff, dic, longest}];
  auto shared = slot.lock();
  if (!shared || failedForNow(shared->result)) {
    shared = std::make_shared<SharedLoad>(SharedLoad{startLoad(aff, dic, longest, beforeLoad)});
    slot = shared;
  }
  return shared;
}

class HunspellChecker final : public SpellChecker {
 public:
  explicit HunspellChecker(std::shared_ptr<Dictionary> dictionary)
      : dictionary_(std::move(dictionary)) {}

  bool checkSpelling(std::string_view word) override {
    if (word.empty()) return false;
    // Longer words were left out of the dictionary when it was loaded.
    if (dictionary_->longestWord > 0 && word.size() > dictionary_->longestWord) return false;
    std::string asked;
    if (dictionary_->encoding == Dictionary::Encoding::Utf8) {
      asked = forms::cp1252ToUtf8(word);
    } else {
      auto latin1 = cp1252ToLatin1(word);
      if (!latin1) return false;  // a character the dictionary's set cannot even write
      asked = std::move(*latin1);
    }
    std::lock_guard lock(dictionary_->mutex);
    return dictionary_->hunspell->spell(asked);
  }

 private:
  std::shared_ptr<Dictionary> dictionary_;
};

class HunspellProvider final : public SpellCheckerProvider {
 public:
  HunspellProvider(std::string aff, std::string dic, std::size_t longest,
                   std::chrono::milliseconds patience, std::function<void()> beforeLoad)
      : aff_(std::move(aff)),
        dic_(std::move(dic)),
        longest_(longest),
        patience_(patience),
        beforeLoad_(std::move(beforeLoad)),
        load_(sharedLoad(aff_, dic_, longest_, beforeLoad_)) {}

  std::unique_ptr<SpellChecker> start() override {
    if (failedForNow(load_->result))
      load_ = sharedLoad(aff_, dic_, longest_, beforeLoad_);  // the files may be there now
    // Once a load has kept the game waiting its full patience, it is only looked at.
    const auto wait = outwaited_ ? std::chrono::milliseconds(0) : patience_;
    if (load_->result.wait_for(wait) != std::future_status::ready) {
      outwaited_ = true;
      why_ = dic_ + ": il dizionario non ha ancora finito di caricarsi; sarà usato appena pronto";
      return nullptr;
    }
    const Loaded& loaded = load_->result.get();
    if (!loaded.dictionary) {
      why_ = loaded.error;
      return nullptr;
    }
    why_.clear();
    return std::make_unique<HunspellChecker>(loaded.dictionary);
  }

  std::string why() const override { return why_; }

 private:
  std::string aff_;
  std::string dic_;
  std::size_t longest_;
  std::chrono::milliseconds patience_;
  std::function<void()> beforeLoad_;
  std::shared_ptr<SharedLoad> load_;
  bool outwaited_ = false;
  std::string why_;
};

}  // namespace

std::unique_ptr<SpellCheckerProvider> makeHunspellProvider(std::string affPath, std::string dicPath,
                                                           std::size_t longestWord,
                                                           std::chrono::milliseconds patience,
                                                           std::function<void()> beforeLoad) {
  return std::make_unique<HunspellProvider>(std::move(affPath), std::move(dicPath), longestWord,
                                            patience, std::move(beforeLoad));
}

}  // namespace spell
