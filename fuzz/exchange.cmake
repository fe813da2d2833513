# SPDX-License-Identifier: GPL-3.0-or-later
# Macro lines other programs send to the server.
qvt_add_fuzzer(macro_line SOURCES fuzz_macro_line.cpp LIBS qvt_macro)
# Measurement files (.qvtm): read, written again and read back, with the computed quantities'
# lines.
qvt_add_fuzzer(measure_file SOURCES fuzz_measure_file.cpp LIBS qvt_measure_computed)
