# Loading the settings from hostile 100,000-key profiles beside reading the same text
# (target bench_profile). Included from bench/CMakeLists.txt.
add_executable(bench_profile ${CMAKE_CURRENT_LIST_DIR}/bench_profile.cpp)
target_link_libraries(bench_profile PRIVATE vespario_settings benchmark::benchmark)
