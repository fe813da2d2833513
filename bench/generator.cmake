# SPDX-License-Identifier: GPL-3.0-or-later
# bench_generator: the expression evaluator against muparser and hand-written C++. muparser is
# linked here and nowhere else.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MUPARSER REQUIRED IMPORTED_TARGET muparser)
add_executable(bench_generator generator_bench.cpp)
target_link_libraries(bench_generator PRIVATE qvt_generator PkgConfig::MUPARSER benchmark::benchmark)
