// SPDX-License-Identifier: GPL-3.0-or-later
// ConfigFileName: its one definition.
#include "config_file_name.h"

std::string ConfigFileName;
