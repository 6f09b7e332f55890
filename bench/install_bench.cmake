# The install run's benchmark (not a test): bench/install_bench.cpp drives the
# built setup.exe under Wine with the test robot. scripts/bench-install.sh runs it.
if(WIN32 AND TARGET setup)
  add_executable(install_bench ${KVX_ROOT}/bench/install_bench.cpp ${KVX_ROOT}/tests/robot/robot.cpp)
  target_include_directories(install_bench PRIVATE ${KVX_ROOT} ${KVX_ROOT}/tests)
  target_compile_definitions(install_bench PRIVATE KVX_BINARY_DIR="${CMAKE_BINARY_DIR}")
  target_link_libraries(install_bench PRIVATE kvx_framework psapi)
  add_dependencies(install_bench setup)
endif()
