// SPDX-License-Identifier: GPL-3.0-or-later
// The English texts of the layers below the module. Without a translate function those layers
// speak French (their source language: a measurement file's errors, for instance), while the
// module's own messages are English, as Python's are; the module installs one over the
// program's English catalogue, which is built into it. No Qt: the catalogue is read here.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace qvt::python {

// A catalogue made by lrelease (a .qm file), which keeps each message's context and source
// text beside its translation.
class TCatalogue {
public:
  // Reads the catalogue `qm`, the file's bytes; empty when they are not a catalogue or are cut
  // short.
  explicit TCatalogue(std::string_view qm);

  // The translation (UTF-8) of `source` in `context`; nullptr when the catalogue has none.
  const std::string* Find(std::string_view context, std::string_view source) const;
  std::size_t Size() const { return texts_.size(); }

private:
  std::map<std::string, std::string, std::less<>> texts_; // context '\x04' source -> text
};

// Installs the built-in English catalogue as the translate function of the layers (qvt::translate).
// Call it once, when the module is imported.
void InstallEnglishTexts();

} // namespace qvt::python
