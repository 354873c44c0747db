# The GUI fuzzer: random user actions through real input on the window, with the chart's rules checked
# after each one. Built with the tests (so under the sanitizers in the test preset) and run by ./test.sh;
# it needs no clang.
find_package(Qt5 5.15 REQUIRED COMPONENTS Test)
add_executable(fuzz_gui ${CMAKE_CURRENT_LIST_DIR}/fuzz_gui.cpp)
target_include_directories(fuzz_gui PRIVATE ${CMAKE_SOURCE_DIR}/tests/gui ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(fuzz_gui PRIVATE vandora_gui Qt5::Test)
target_compile_options(fuzz_gui PRIVATE ${VANDORA_WARNINGS})
target_compile_definitions(fuzz_gui PRIVATE VANDORA_RENDER_PATH="$<TARGET_FILE:vandora-render>")
add_dependencies(fuzz_gui vandora-render)
set_target_properties(fuzz_gui PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
