// SPDX-License-Identifier: GPL-3.0-or-later
// TIniFile: a settings file of "[section]" and "key=value" lines, read and rewritten in place.
//
// The file is held as its lines, byte for byte. Reading looks a key up; writing changes the
// held lines only, and Save() writes them back once. Every line the program does not change
// (other sections and keys, blank lines, comments, lines it cannot make sense of, binary
// bytes) is written back exactly as it was read.
//
// Names: section and key names are compared without regard to ASCII case, after the blanks
// (spaces and tabs) around them; bytes from 0x80 on compare as they are, so an 8-bit name
// such as "Unit\xE9" matches only the same byte. Values are read without the blanks around
// them. Lines: a line ends at LF, a CR before the LF (or ending the file) belonging to its end. A line whose first
// non-blank byte is ";" is a comment; "[" starts a section header, its name running to the
// first "]" (or to the line's end without one); any other line holding "=" is a key line.
// Key lines before the first header belong to no section and are never found. When a
// section or a key appears twice, the first one counts.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvt {

class TIniFile {
public:
  // An empty file with no name: Load and Save fail until SetFileName.
  TIniFile() = default;
  // Loads `fileName` (a path in the system's file-name encoding); a missing file reads as
  // an empty one. Check ErrorString() for a file that exists but cannot be read.
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }

  // Replaces the held lines by the file's content. A missing file gives no lines and true;
  // an unreadable one keeps the held lines and gives false with the reason in ErrorString().
  bool Load();
  // Replaces the held lines by `content`, as if read from a file.
  void SetContent(std::string_view content);
  // The file as Save() would write it.
  std::string Content() const;

  // Writes the held lines to FileName() in one go (its folder made first when missing): the
  // new content goes to a temporary file in the same folder, which replaces the file only
  // once it is wholly written and flushed.
  // On any failure the old file stays as it was, no temporary file remains, and the result
  // is false with the system's reason in ErrorString().
  bool Save();
  // The reason of the last failed Load or Save; empty after a success.
  const QString& ErrorString() const { return error_; }

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;

  // The value of the key, or the default when the key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // A decimal integer with an optional sign; the default when missing, not a number or out
  // of the 32-bit range.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  // ReadInteger(key, defaultValue ? 1 : 0) != 0.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  // A number with the system decimal separator (ReadDecimal); the default when missing or
  // unreadable.
  double ReadFloat(std::string_view section, std::string_view key, double defaultValue) const;

  // Sets the key's value. On an existing key line only the value is replaced, the rest of
  // the line (the key as spelt in the file, the blanks around "=") kept, and a line whose
  // value already reads `value` is left alone. A new key line "key=value" goes after the
  // last key line of its section (before the blank lines and comments that end it, right
  // after the header when it has none); a new section goes at the end of the file. New
  // lines end as the file's first line ends, LF or CR LF (CR LF for a file without lines).
  // Returns false, changing nothing, for a name or value that a line cannot hold: a line
  // break in any of them, a key that is empty, has "=" or starts with "[" or ";" after its
  // blanks, a section name with "]". The blanks around the value are not kept.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Decimal.
  bool WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  // "1" or "0".
  bool WriteBool(std::string_view section, std::string_view key, bool value);
  // The general format with 15 significant digits and the system decimal separator.
  bool WriteFloat(std::string_view section, std::string_view key, double value);

private:
  struct Line {
    std::string text; // without its end
    std::string end;  // "\r\n", "\n"; for the file's last line also "" or a lone "\r"
  };
  // Where a key line's value lies in its text.
  struct KeyAt {
    std::size_t line;
    std::size_t valueBegin;
    std::size_t valueEnd;
  };

  // The line index of the first header of `section`, or npos.
  std::size_t FindSection(std::string_view section) const;
  // The first key line of `key` in the first section named `section`.
  bool FindKey(std::string_view section, std::string_view key, KeyAt& at) const;
  std::string NewLineEnd() const;

  std::string fileName_;
  std::vector<Line> lines_;
  QString error_;
};

} // namespace qvt
