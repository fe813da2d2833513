// ConfigFileName: its one definition.
#include "config_file_name.h"

std::string ConfigFileName;
