# The ID look-ups on a 100,000-record name index beside a plain substring search of the same
# index text (target bench_nameindex). Included from bench/CMakeLists.txt.
add_executable(bench_nameindex ${CMAKE_CURRENT_LIST_DIR}/bench_nameindex.cpp)
target_link_libraries(bench_nameindex PRIVATE vespario_select vespario_db vespario_gendb
                      benchmark::benchmark benchmark::benchmark_main)
