# SPDX-License-Identifier: GPL-3.0-or-later
# The Intel HEX parser of the firmware loader.
qvt_add_fuzzer(intel_hex SOURCES fuzz_intel_hex.cpp LIBS qvt_link_hex)
