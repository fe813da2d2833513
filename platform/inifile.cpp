// SPDX-License-Identifier: GPL-3.0-or-later
// TIniFile: the settings file kept as its lines, so that a rewrite touches only what changed.
#include "inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <charconv>
#include <utility>

#include "atomic_write.h"
#include "numtext.h"

namespace qvt {
namespace {

constexpr auto npos = std::string_view::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back()))
    s.remove_suffix(1);
  return s;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Names as the files teachers already have spell them in any case ("[voie0]", "ACTIVE").
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i]))
      return false;
  return true;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != npos; }

// What one line is. Classified afresh at each look-up: the files are a few hundred lines.
struct Parsed {
  enum Kind { Other, Comment, Section, Key } kind = Other;
  std::string_view name; // the section's or the key's, trimmed
  std::size_t valueBegin = 0;
  std::size_t valueEnd = 0;
};

Parsed Parse(std::string_view text) {
  Parsed p;
  const std::string_view body = Trim(text);
  if (body.empty())
    return p;
  if (body.front() == ';') {
    p.kind = Parsed::Comment;
    return p;
  }
  if (body.front() == '[') {
    std::string_view name = body.substr(1);
    if (const auto close = name.find(']'); close != npos)
      name = name.substr(0, close);
    p.kind = Parsed::Section;
    p.name = Trim(name);
    return p;
  }
  const auto equals = text.find('=');
  if (equals == npos)
    return p;
  p.kind = Parsed::Key;
  p.name = Trim(text.substr(0, equals));
  std::size_t begin = equals + 1;
  while (begin < text.size() && IsBlank(text[begin]))
    ++begin;
  std::size_t end = text.size();
  while (end > begin && IsBlank(text[end - 1]))
    --end;
  p.valueBegin = begin;
  p.valueEnd = end;
  return p;
}

} // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) { Load(); }

bool TIniFile::Load() {
  error_.clear();
  if (fileName_.empty()) {
    error_ = QStringLiteral("no file name");
    return false;
  }
  QFile file(QFile::decodeName(QByteArray::fromStdString(fileName_)));
  if (!file.exists()) {
    lines_.clear();
    return true;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    error_ = file.errorString();
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    error_ = file.errorString();
    return false;
  }
  SetContent(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return true;
}

void TIniFile::SetContent(std::string_view content) {
  lines_.clear();
  while (!content.empty()) {
    const auto lf = content.find('\n');
    if (lf == npos) {
      // A CR ending the file is the start of a line end: should lines follow one day, the
      // LF added after it must not change what the line holds.
      const bool cr = content.back() == '\r';
      lines_.push_back({std::string(content.substr(0, content.size() - (cr ? 1 : 0))),
                        cr ? "\r" : ""});
      break;
    }
    const bool crlf = lf > 0 && content[lf - 1] == '\r';
    const std::size_t textEnd = crlf ? lf - 1 : lf;
    lines_.push_back({std::string(content.substr(0, textEnd)), crlf ? "\r\n" : "\n"});
    content.remove_prefix(lf + 1);
  }
}

std::string TIniFile::Content() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += line.end;
  }
  return out;
}

bool TIniFile::Save() {
  error_.clear();
  if (fileName_.empty()) {
    error_ = QStringLiteral("no file name");
    return false;
  }
  const QString name = QFile::decodeName(QByteArray::fromStdString(fileName_));
  // The settings folder is made when missing (the user's configuration folder on a first run).
  QDir().mkpath(QFileInfo(name).absolutePath());
  return WriteFileAtomically(name, Content(), error_);
}

std::size_t TIniFile::FindSection(std::string_view section) const {
  section = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Parsed p = Parse(lines_[i].text);
    if (p.kind == Parsed::Section && SameName(p.name, section))
      return i;
  }
  return npos;
}

bool TIniFile::FindKey(std::string_view section, std::string_view key, KeyAt& at) const {
  key = Trim(key);
  if (key.empty())
    return false;
  const std::size_t header = FindSection(section);
  if (header == npos)
    return false;
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    const Parsed p = Parse(lines_[i].text);
    if (p.kind == Parsed::Section)
      break;
    if (p.kind == Parsed::Key && SameName(p.name, key)) {
      at = {i, p.valueBegin, p.valueEnd};
      return true;
    }
  }
  return false;
}

std::string TIniFile::NewLineEnd() const {
  if (!lines_.empty() && lines_.front().end == "\n")
    return "\n";
  return "\r\n";
}

bool TIniFile::SectionExists(std::string_view section) const {
  return FindSection(section) != npos;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  KeyAt at{};
  return FindKey(section, key, at);
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  KeyAt at{};
  if (!FindKey(section, key, at))
    return std::string(defaultValue);
  return lines_[at.line].text.substr(at.valueBegin, at.valueEnd - at.valueBegin);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const {
  KeyAt at{};
  if (!FindKey(section, key, at))
    return defaultValue;
  std::string_view text(lines_[at.line].text);
  text = text.substr(at.valueBegin, at.valueEnd - at.valueBegin);
  if (!text.empty() && text.front() == '+')
    text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty())
    return defaultValue;
  return value;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view key,
                           double defaultValue) const {
  KeyAt at{};
  if (!FindKey(section, key, at))
    return defaultValue;
  const std::string& text = lines_[at.line].text;
  return ReadDecimal(std::string_view(text).substr(at.valueBegin, at.valueEnd - at.valueBegin))
      .value_or(defaultValue);
}

bool TIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  value = Trim(value);
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
      section.find(']') != npos || key.empty() || key.find('=') != npos || key.front() == '[' ||
      key.front() == ';')
    return false;

  KeyAt at{};
  if (FindKey(section, key, at)) {
    std::string& text = lines_[at.line].text;
    if (std::string_view(text).substr(at.valueBegin, at.valueEnd - at.valueBegin) != value)
      text.replace(at.valueBegin, at.valueEnd - at.valueBegin, value);
    return true;
  }

  const std::string end = NewLineEnd();
  std::vector<Line> added;
  std::size_t where = lines_.size();
  if (const std::size_t header = FindSection(section); header != npos) {
    where = header + 1;
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
      const Parsed p = Parse(lines_[i].text);
      if (p.kind == Parsed::Section)
        break;
      if (p.kind == Parsed::Key)
        where = i + 1;
    }
  } else {
    // Appended piece by piece: with "[" + std::string(section), GCC 12 at -O3 reports a
    // -Wrestrict overlap inside std::string that cannot happen (a false positive).
    std::string line(1, '[');
    line += section;
    line += ']';
    added.push_back({std::move(line), end});
  }
  added.push_back({std::string(key) + "=" + std::string(value), end});
  // Only the file's last line can lack its end (or have a lone CR); lines now follow it.
  if (where == lines_.size() && !lines_.empty()) {
    std::string& last = lines_.back().end;
    if (last.empty())
      last = end;
    else if (last == "\r")
      last = "\r\n";
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(where), added.begin(), added.end());
  return true;
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
  return WriteString(section, key, FormatGeneral(value, 15));
}

} // namespace qvt
