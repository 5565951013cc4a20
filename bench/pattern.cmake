# Pattern::Search throughput next to std::regex and PCRE2; included from bench/CMakeLists.txt.
find_package(benchmark REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(VESPARIO_PCRE2 REQUIRED IMPORTED_TARGET libpcre2-8)

add_executable(bench_pattern ${CMAKE_CURRENT_LIST_DIR}/bench_pattern.cpp)
target_link_libraries(bench_pattern PRIVATE vespario_pattern PkgConfig::VESPARIO_PCRE2
                                            benchmark::benchmark benchmark::benchmark_main)
