qel_add_bench(bench_load ${CMAKE_CURRENT_SOURCE_DIR}/bench_load.cpp LIBS qel_app qel_testfile qel_views qel_model qel_text)
