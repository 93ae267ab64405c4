# Each library folder picks up its own sources, so parallel work on different
# screens never has to touch a shared list.
function(lk72_library name)
  # A library is its folder and every subfolder without a CMakeLists.txt of
  # its own (those are libraries of their own); a header is found by its name
  # from any of them.
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE _all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB_RECURSE _own_lists ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  set(_src)
  set(_dirs ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(_file ${_all})
    set(_theirs FALSE)
    foreach(_list ${_own_lists})
      get_filename_component(_other ${_list} DIRECTORY)
      string(FIND "${_file}" "${_other}/" _at)
      if(_at EQUAL 0)
        set(_theirs TRUE)
      endif()
    endforeach()
    if(NOT _theirs)
      list(APPEND _src ${_file})
      get_filename_component(_dir ${_file} DIRECTORY)
      list(APPEND _dirs ${_dir})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES _dirs)
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${_dirs})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
endfunction()

# lk72_test(<name> SOURCES a.cpp ... LIBS ... [SCREEN])
# SCREEN tests run on the offscreen platform; all tests find the data files
# through the program folder of the build.
function(lk72_test name)
  cmake_parse_arguments(ARG "SCREEN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON
    RUNTIME_OUTPUT_DIRECTORY ${LK72_DATA_DIR})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  # A home of its own: the tests run in parallel and several of them write
  # the settings file of the (test-mode) documents folder.
  set(_home ${CMAKE_BINARY_DIR}/test-homes/${name})
  file(MAKE_DIRECTORY ${_home})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LK72_TEST=1;HOME=${_home}"
    TIMEOUT 600)
  add_dependencies(${name} lk72_data)
endfunction()
