# Under Ninja the moc step reruns only when a file it read last time changed, so a header added
# to a folder (a new class, a merge) went unmoc'd until the build folder was made afresh. When
# the folder's files differ from the last configure, the step's stamp goes and it runs again.
function(panoptra_moc_sees_new_files target sources)
    set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt)
    set(old "")
    if(EXISTS ${list_file})
        file(READ ${list_file} old)
    endif()
    if(NOT old STREQUAL "${sources}")
        file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
        file(WRITE ${list_file} "${sources}")
    endif()
endfunction()

# One static library per source folder: every .cpp and .h of the folder (not of its subfolders).
#   panoptra_add_library(<name> LIBS <targets...>)
function(panoptra_add_library name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    add_library(panoptra_${name} STATIC ${sources})
    panoptra_moc_sees_new_files(panoptra_${name} "${sources}")
    target_include_directories(panoptra_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(panoptra_${name} PUBLIC ${ARG_LIBS})
endfunction()

# A library of headers only (a folder of interfaces): nothing to compile, its users get the
# include folder and its links.
#   panoptra_add_interface_library(<name> LIBS <targets...>)
function(panoptra_add_interface_library name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_library(panoptra_${name} INTERFACE ${headers})
    target_include_directories(panoptra_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(panoptra_${name} INTERFACE ${ARG_LIBS})
endfunction()

# One Qt Test executable per tests/<folder>/tst_*.cpp, run headless and labelled by folder.
#   panoptra_add_tests(<folder> LIBS <targets...>)
function(panoptra_add_tests folder)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/tst_*.cpp)
    foreach(test_source ${tests})
        get_filename_component(test_name ${test_source} NAME_WE)
        set(target ${folder}_${test_name})
        add_executable(${target} ${test_source})
        target_link_libraries(${target} PRIVATE panoptra_testsupport ${ARG_LIBS} Qt6::Test)
        target_compile_definitions(${target} PRIVATE
            PANOPTRA_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/${folder}/data")
        add_test(NAME ${target} COMMAND ${target})
        set_tests_properties(${target} PROPERTIES
            LABELS ${folder}
            TIMEOUT 120
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PANOPTRA_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
    endforeach()
endfunction()
