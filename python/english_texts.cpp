// SPDX-License-Identifier: GPL-3.0-or-later
// The English texts of the layers: the .qm catalogue read without Qt.
#include "english_texts.h"

#include <cstdint>
#include <optional>

#include "translate.h"

namespace qvt::python {

// The program's English catalogue, as lrelease made it (english_catalogue.cpp, generated).
extern const unsigned char kEnglishCatalogue[];
extern const std::size_t kEnglishCatalogueSize;

namespace {

// A .qm file is a magic number, then blocks (a tag byte, a big-endian 32-bit length, the
// data); the messages block holds each message as tagged fields ending with kEnd. The
// translation is UTF-16 big-endian, the context and source text UTF-8.
constexpr unsigned char kMagic[16] = {0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95,
                                      0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd};
constexpr unsigned char kMessagesBlock = 0x69;
enum : unsigned char {
  kEnd = 1,
  kTranslation = 3,
  kObsolete1 = 5,
  kSourceText = 6,
  kContext = 7,
  kComment = 8,
};

// Reads forward through `data`; every read past the end fails and leaves it failed.
class TReader {
public:
  explicit TReader(std::string_view data) : data_(data) {}
  bool AtEnd() const { return data_.empty(); }
  bool Byte(unsigned char& out) {
    if (data_.empty())
      return false;
    out = static_cast<unsigned char>(data_[0]);
    data_.remove_prefix(1);
    return true;
  }
  bool Word(std::uint32_t& out) {
    if (data_.size() < 4)
      return false;
    out = 0;
    for (int k = 0; k < 4; ++k)
      out = (out << 8) | static_cast<unsigned char>(data_[static_cast<std::size_t>(k)]);
    data_.remove_prefix(4);
    return true;
  }
  bool Bytes(std::size_t count, std::string_view& out) {
    if (data_.size() < count)
      return false;
    out = data_.substr(0, count);
    data_.remove_prefix(count);
    return true;
  }

private:
  std::string_view data_;
};

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xc0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3f));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xe0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (c & 0x3f));
  } else {
    out += static_cast<char>(0xf0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (c & 0x3f));
  }
}

std::string Utf16BigEndianToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() / 2);
  const auto unit = [&](std::size_t k) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k]) << 8 |
                                      static_cast<unsigned char>(bytes[k + 1]));
  };
  for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
    std::uint32_t c = unit(k);
    if (c >= 0xd800 && c < 0xdc00 && k + 3 < bytes.size() && unit(k + 2) >= 0xdc00 &&
        unit(k + 2) < 0xe000) {
      c = 0x10000 + ((c - 0xd800) << 10) + (unit(k + 2) - 0xdc00);
      k += 2;
    } else if (c >= 0xd800 && c < 0xe000) {
      c = 0xfffd; // a lone surrogate
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string Key(std::string_view context, std::string_view source) {
  std::string key(context);
  key += '\x04';
  key += source;
  return key;
}

// The messages of the block `data` into `texts`; false at a damaged one.
bool ReadMessages(std::string_view data, std::map<std::string, std::string, std::less<>>& texts) {
  TReader in(data);
  while (!in.AtEnd()) {
    std::string_view context, source;
    std::optional<std::string> translation;
    for (;;) {
      unsigned char tag = 0;
      std::uint32_t length = 0;
      std::string_view field;
      if (!in.Byte(tag))
        return false;
      if (tag == kEnd)
        break;
      if (tag == kObsolete1) {
        if (!in.Word(length))
          return false;
        continue;
      }
      if (!in.Word(length))
        return false;
      if (tag == kTranslation && length == 0xffffffffu) // no translation
        continue;
      if (!in.Bytes(length, field))
        return false;
      switch (tag) {
      case kTranslation: // the first is the singular of a plural message
        if (!translation)
          translation = Utf16BigEndianToUtf8(field);
        break;
      case kSourceText:
        source = field;
        break;
      case kContext:
        context = field;
        break;
      case kComment:
        break;
      default: // a field of a format this reader does not know
        return false;
      }
    }
    if (translation && !translation->empty())
      texts.emplace(Key(context, source), std::move(*translation));
  }
  return true;
}

const TCatalogue& English() {
  static const TCatalogue catalogue(std::string_view(
      reinterpret_cast<const char*>(kEnglishCatalogue), kEnglishCatalogueSize));
  return catalogue;
}

std::string EnglishText(const char* context, const char* source) {
  const std::string* text = English().Find(context, source);
  return text != nullptr ? *text : std::string(source);
}

} // namespace

TCatalogue::TCatalogue(std::string_view qm) {
  const std::string_view magic(reinterpret_cast<const char*>(kMagic), sizeof kMagic);
  if (!qm.starts_with(magic))
    return;
  // Every block whole first: a file cut short gives no text rather than some.
  TReader in(qm.substr(magic.size()));
  std::string_view messages;
  while (!in.AtEnd()) {
    unsigned char tag = 0;
    std::uint32_t length = 0;
    std::string_view block;
    if (!in.Byte(tag) || !in.Word(length) || !in.Bytes(length, block))
      return;
    if (tag == kMessagesBlock)
      messages = block;
  }
  if (!ReadMessages(messages, texts_))
    texts_.clear();
}

const std::string* TCatalogue::Find(std::string_view context, std::string_view source) const {
  const auto found = texts_.find(Key(context, source));
  return found != texts_.end() ? &found->second : nullptr;
}

void InstallEnglishTexts() {
  English(); // read now, before any thread asks
  SetTranslateFunction(EnglishText);
}

} // namespace qvt::python
