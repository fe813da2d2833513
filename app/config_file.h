// SPDX-License-Identifier: GPL-3.0-or-later
// ConfigFileName: where the program keeps its settings file.
#pragma once

#include <string>

#include "config_file_name.h"

namespace qvt {

// The settings file: QVT2_CONFIG when set; otherwise the program's own path with its
// extension replaced by ".qvt2" when the program's folder is writable and is not one of the
// system's (/usr/..., /bin, /sbin) (the file lies beside the program); otherwise "qvt2/<program>.qvt2" in $XDG_CONFIG_HOME (~/.config without it).
// `programPath` is the program's full path.
std::string SettingsFilePath(const std::string& programPath);

} // namespace qvt
