# SPDX-License-Identifier: GPL-3.0-or-later
# Settings files: any bytes read, queried, rewritten and read again.
qvt_add_fuzzer(inifile SOURCES fuzz_inifile.cpp LIBS qvt_inifile)
