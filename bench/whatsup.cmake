# The What's Up report and its parts (target bench_whatsup); included from bench/CMakeLists.txt.
add_executable(bench_whatsup ${CMAKE_CURRENT_LIST_DIR}/bench_whatsup.cpp)
target_link_libraries(bench_whatsup PRIVATE vespario_astro benchmark::benchmark
                      benchmark::benchmark_main)
