# SPDX-License-Identifier: GPL-3.0-or-later
# The command-line values of qvt2ctl (time bases, ranges, triggers, amounts, channels, durations).
qvt_add_fuzzer(cli_values SOURCES fuzz_cli_values.cpp LIBS qvt_cli_values)
