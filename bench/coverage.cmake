qel_add_bench(bench_coverage ${CMAKE_CURRENT_SOURCE_DIR}/bench_coverage.cpp
              LIBS qel_coverage qel_app qel_engine qel_virtual qel_model qel_operator)
target_compile_definitions(bench_coverage PRIVATE QEL_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
