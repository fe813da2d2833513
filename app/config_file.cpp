// SPDX-License-Identifier: GPL-3.0-or-later
// ConfigFileName: beside the program as the settings files teachers already have, or in the
// user's configuration folder when the program is installed where the user cannot write.
#include "config_file.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace qvt {

std::string SettingsFilePath(const std::string& programPath) {
  if (const char* forced = std::getenv("QVT2_CONFIG"); forced != nullptr && *forced != '\0')
    return forced;
  namespace fs = std::filesystem;
  fs::path beside(programPath);
  beside.replace_extension(".qvt2");
  const fs::path folder = beside.has_parent_path() ? beside.parent_path() : fs::path(".");
  // A program installed in the system's folders keeps its settings with the user even when
  // it runs as root (who may write there): nothing of a user's belongs in /usr/bin.
  const std::string where = folder.string();
  const bool system = where.rfind("/usr/", 0) == 0 || where == "/bin" || where == "/sbin";
  if (!system && ::access(folder.c_str(), W_OK) == 0)
    return beside.string();
  fs::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
    config = xdg;
  else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    config = fs::path(home) / ".config";
  else
    config = fs::temp_directory_path();
  return (config / "qvt2" / beside.filename()).string();
}

} // namespace qvt
