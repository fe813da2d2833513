// SPDX-License-Identifier: GPL-3.0-or-later
// The translate hook of the layers without Qt.
#include "translate.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <mutex>
#include <set>

namespace qvt {
namespace {

std::atomic<TranslateFunction> installed{nullptr};

} // namespace

std::string translate(const char* context, const char* source) {
  if (const TranslateFunction f = installed.load(std::memory_order_acquire))
    return f(context, source);
  return source;
}

std::string_view TrView(const char* context, const char* source) {
  if (installed.load(std::memory_order_acquire) == nullptr)
    return source;
  // A node-based set: its strings never move, and the few texts shown this way (labels,
  // captions) in one or two languages keep it small.
  static std::mutex guard;
  static std::set<std::string, std::less<>> kept;
  std::string text = translate(context, source);
  const std::lock_guard<std::mutex> lock(guard);
  return *kept.insert(std::move(text)).first;
}

std::string TrArg(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    // "%1" to "%9": one digit, as the texts never have more than a few arguments.
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const std::size_t n = static_cast<std::size_t>(text[i + 1] - '1');
      if (n < args.size())
        out += *(args.begin() + n);
      ++i;
      continue;
    }
    out += text[i];
  }
  return out;
}

namespace {

// "fr_FR.UTF-8" and "FR" give "fr"; "C" and "POSIX" give "".
std::string LanguageOf(std::string_view locale) {
  std::string language(locale.substr(0, locale.find_first_of("_.@")));
  std::transform(language.begin(), language.end(), language.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return language == "c" || language == "posix" ? std::string() : language;
}

} // namespace

std::string AskedLanguage(const char* (*getenv)(const char*)) {
  const auto read = [getenv](const char* name) -> std::string_view {
    const char* value = getenv != nullptr ? getenv(name) : std::getenv(name);
    return value != nullptr ? value : "";
  };
  for (std::string_view rest = read("LANGUAGE"); !rest.empty();) {
    const std::string_view entry = rest.substr(0, rest.find(':'));
    rest.remove_prefix(std::min(rest.size(), entry.size() + 1));
    if (std::string language = LanguageOf(entry); language == "en" || language == "fr")
      return language;
  }
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const std::string_view value = read(name); !value.empty())
      return LanguageOf(value);
  }
  return {};
}

void SetTranslateFunction(TranslateFunction function) {
  installed.store(function, std::memory_order_release);
}

} // namespace qvt
