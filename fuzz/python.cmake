# SPDX-License-Identifier: GPL-3.0-or-later
# The Python module's arguments: time bases, ranges and trigger edges as users type them.
if(TARGET qvt_python_arguments)
  qvt_add_fuzzer(python_arguments SOURCES fuzz_python_arguments.cpp LIBS qvt_python_arguments)
endif()
