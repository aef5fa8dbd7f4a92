# Where each test runs. Every program on the framework replaces log.txt in its
# working folder as it starts, and many tests read that log back, so two tests
# that CTest runs side by side must never share a folder: each test runs in a
# folder of its own, or, where a folder has to be prepared for it (the game's
# pictures and music), holds that folder as a lock while it runs.
# tests/support/check_test_folders.py checks this over a whole build.

# Registers the tests of a GoogleTest program, each in a folder of its own
# under run-<target>/ (named for the test, its slashes made dashes), or all in
# FOLDER, one at a time. LABELS, ENVIRONMENT and RESOURCE_LOCK take lists;
# they are set once the discovered tests exist, as the discovery would flatten
# them into separate properties.
#   vellorin_gtest(<target> [FOLDER <dir>] [TIMEOUT <seconds>] [TEST_FILTER <filter>]
#                  [LABELS <label>...] [ENVIRONMENT <NAME=value>...] [RESOURCE_LOCK <name>...])
function(vellorin_gtest target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "FOLDER;TIMEOUT;TEST_FILTER" "LABELS;ENVIRONMENT;RESOURCE_LOCK")
  set(tests ${target}_tests)
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}_folders.cmake")
  if(arg_FOLDER)
    # Listing the tests after the build also starts the program there.
    set(listedIn ${arg_FOLDER})
    list(APPEND arg_RESOURCE_LOCK ${arg_FOLDER})
    file(WRITE ${script} "")
  else()
    set(listedIn ${CMAKE_CURRENT_BINARY_DIR}/run-${target})
    file(WRITE ${script} "foreach(test IN LISTS ${tests})
  string(REPLACE \"/\" \"-\" folder \"\${test}\")
  file(MAKE_DIRECTORY \"${listedIn}/\${folder}\")
  set_tests_properties(\"\${test}\" PROPERTIES WORKING_DIRECTORY \"${listedIn}/\${folder}\")
endforeach()
")
  endif()
  file(MAKE_DIRECTORY ${listedIn})
  set(filter)
  if(arg_TEST_FILTER)
    set(filter TEST_FILTER ${arg_TEST_FILTER})
  endif()
  gtest_discover_tests(${target} WORKING_DIRECTORY ${listedIn} TEST_LIST ${tests} ${filter})

  set(properties)
  foreach(property LABELS ENVIRONMENT RESOURCE_LOCK TIMEOUT)
    if(DEFINED arg_${property})
      string(APPEND properties " ${property} [==[${arg_${property}}]==]")
    endif()
  endforeach()
  if(properties)
    file(APPEND ${script} "if(${tests})\n  set_tests_properties(\${${tests}} PROPERTIES${properties})\nendif()\n")
  endif()
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()

# Gives a test added with add_test a folder to run in: run-<test>/ of its own,
# or the FOLDER it shares with other tests, held as a lock while it runs.
#   vellorin_test_folder(<test> [FOLDER <dir>])
function(vellorin_test_folder test)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "FOLDER" "")
  if(arg_FOLDER)
    set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK ${arg_FOLDER})
    set_tests_properties(${test} PROPERTIES WORKING_DIRECTORY ${arg_FOLDER})
  else()
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/run-${test})
    file(MAKE_DIRECTORY ${folder})
    set_tests_properties(${test} PROPERTIES WORKING_DIRECTORY ${folder})
  endif()
endfunction()
