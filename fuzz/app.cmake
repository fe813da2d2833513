# SPDX-License-Identifier: GPL-3.0-or-later
# The program's own texts from the settings file: the list of measurements of the panel.
qvt_add_fuzzer(measure_list SOURCES fuzz_measure_list.cpp LIBS qvt_measure_list)
