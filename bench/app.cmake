# SPDX-License-Identifier: GPL-3.0-or-later
# bench_oscillo: the program as a whole on the virtual interface: continuous sweeps per second
# and the CPU they take, and the time from start to the first painted window with the memory
# then, against a bare Qt window started the same way.
add_executable(bench_oscillo ${CMAKE_CURRENT_LIST_DIR}/oscillo_bench.cpp)
target_link_libraries(bench_oscillo PRIVATE qvt_app)
