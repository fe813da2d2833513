# SPDX-License-Identifier: GPL-3.0-or-later
# The program's own texts from the settings file: the list of measurements of the panel and
# the computed quantities.
qvt_add_fuzzer(measure_list SOURCES fuzz_measure_list.cpp LIBS qvt_measure_list)
# The computed quantities' section: what reads is written back and reads the same.
qvt_add_fuzzer(computed_settings SOURCES fuzz_computed_settings.cpp LIBS qvt_computed_settings)
