# A selection pass over 100,000, 200,000 and 1,000,000 generated records beside SQLite's
# query on the same records (target bench_selection). SQLite is a baseline only.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VESPARIO_SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
add_executable(bench_selection ${CMAKE_CURRENT_LIST_DIR}/bench_selection.cpp)
target_link_libraries(bench_selection PRIVATE vespario_bench_support vespario_select
                                              PkgConfig::VESPARIO_SQLITE3 benchmark::benchmark)
