# SPDX-License-Identifier: GPL-3.0-or-later
# bench_python: a "1 ms" sweep of the Python module's sweep layer on the virtual interface,
# alone (the baseline) and followed by its conversion into numpy arrays, in an embedded
# interpreter. bench/python_sweeps.py measures sweeps per second from a Python loop.
if(QVT_PYTHON)
  find_package(pybind11 CONFIG REQUIRED)
  add_executable(bench_python ${CMAKE_CURRENT_LIST_DIR}/python_bench.cpp)
  target_link_libraries(bench_python PRIVATE qvt_python_core pybind11::embed benchmark::benchmark)
  set_target_properties(bench_python PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endif()
