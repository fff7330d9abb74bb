# Paint time of the timing diagram, offscreen; only with the desktop program.
if(TARGET qel_gui_widgets)
  qel_add_bench(bench_paint ${CMAKE_CURRENT_SOURCE_DIR}/bench_paint.cpp LIBS qel_gui_widgets)
endif()
