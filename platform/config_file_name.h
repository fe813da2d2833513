// SPDX-License-Identifier: GPL-3.0-or-later
// ConfigFileName: the settings file of this run, shared by every part of the program that
// keeps settings in it (the main window, the constants of the transfer to Kalkio).
#pragma once

#include <string>

// Set once at start-up, before the forms are created; empty until then (nothing is read or
// written from an empty name).
extern std::string ConfigFileName;
