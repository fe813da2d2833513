# SPDX-License-Identifier: GPL-3.0-or-later
# Macro lines other programs send to the server.
qvt_add_fuzzer(macro_line SOURCES fuzz_macro_line.cpp LIBS qvt_macro)
