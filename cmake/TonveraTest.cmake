# tonvera_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [GUI])
#
# Registers one GoogleTest executable with ctest. Every test case becomes its own ctest
# test. GUI tests get a QApplication (tests/support/gui_main.cpp) and run offscreen.
# Label "parser" marks tests of code that parses files; CI also runs those under sanitizers.
function(tonvera_add_test name)
    cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    tonvera_warnings(${name})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
    target_compile_definitions(${name} PRIVATE
        TONVERA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
        TONVERA_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
        TONVERA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    if(T_GUI)
        target_link_libraries(${name} PRIVATE ${T_LIBS} tonvera_gui_test_main GTest::gtest GTest::gmock)
        list(APPEND T_LABELS gui)
    else()
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    # An empty label list would swallow the properties after it, so every test has a label.
    if(NOT T_LABELS)
        set(T_LABELS unit)
    endif()
    if("parser" IN_LIST T_LABELS)
        set_property(GLOBAL APPEND PROPERTY TONVERA_PARSER_TESTS ${name})
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        NO_PRETTY_VALUES
        DISCOVERY_TIMEOUT 60
        PROPERTIES
            LABELS "${T_LABELS}"
            TIMEOUT ${T_TIMEOUT}
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TONVERA_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
endfunction()
