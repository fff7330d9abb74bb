qel_add_bench(bench_run ${CMAKE_CURRENT_SOURCE_DIR}/bench_run.cpp
              LIBS qel_engine qel_app qel_virtual qel_tester qel_testfile qel_views qel_model)
if(TARGET qel)
  add_dependencies(bench_run qel)
  target_compile_definitions(bench_run PRIVATE QEL_BINARY="$<TARGET_FILE:qel>")
endif()
target_include_directories(bench_run PRIVATE ${PROJECT_SOURCE_DIR}/tests/engine)
