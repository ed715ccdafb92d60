# Run by CTest before it runs anything: lists the test suites of one GoogleTest program and adds
# one test per suite (all its tests in one process, "--gtest_filter=Suite.*"). Starting Qt under
# the sanitizers costs more than most tests take, so one process per test cost most of the suite's
# time. The list is made again whenever the program or these settings are newer than it.
#
# Set by the caller: ZARV_PROGRAM (the built program), ZARV_NAME (its name, also its label),
# ZARV_LIST (the generated list), ZARV_TIMEOUT (seconds per suite), ZARV_WORKDIR.
if(NOT EXISTS "${ZARV_PROGRAM}")
  # Not built: one test that fails by name, as for a missing program.
  add_test("${ZARV_NAME}_NOT_BUILT" "${ZARV_NAME}_NOT_BUILT")
  return()
endif()

if(NOT EXISTS "${ZARV_LIST}" OR "${ZARV_PROGRAM}" IS_NEWER_THAN "${ZARV_LIST}"
   OR "${CMAKE_CURRENT_LIST_FILE}" IS_NEWER_THAN "${ZARV_LIST}" OR "${CMAKE_PARENT_LIST_FILE}" IS_NEWER_THAN "${ZARV_LIST}")
  execute_process(COMMAND "${ZARV_PROGRAM}" --gtest_list_tests WORKING_DIRECTORY "${ZARV_WORKDIR}"
                  TIMEOUT 120 OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Listing the tests of ${ZARV_PROGRAM} failed (${result}):\n${listing}\n${errors}")
  endif()
  # Suite lines stand at the start of a line and end in a dot (typed suites: then a comment).
  string(REPLACE ";" "," listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(script "")
  set(count 0)
  # The entry is skipped only when each of its tests was skipped and none failed.
  set(skipped [=[\[  PASSED  \] 0 tests\.
\[  SKIPPED \] [0-9]+ tests?, listed below:
(\[  SKIPPED \] [^
]*
)*$]=])
  foreach(line IN LISTS lines)
    if(line MATCHES "^([A-Za-z0-9_/]+)\\.( +#.*)?$")
      set(suite "${CMAKE_MATCH_1}")
      set(test "${ZARV_NAME}.${suite}")
      string(APPEND script "add_test([==[${test}]==] [==[${ZARV_PROGRAM}]==] [==[--gtest_filter=${suite}.*]==])\n"
             "set_tests_properties([==[${test}]==] PROPERTIES LABELS [==[${ZARV_NAME}]==] TIMEOUT ${ZARV_TIMEOUT}"
             " WORKING_DIRECTORY [==[${ZARV_WORKDIR}]==] SKIP_REGULAR_EXPRESSION [==[${skipped}]==])\n")
      math(EXPR count "${count} + 1")
    endif()
  endforeach()
  if(count EQUAL 0)
    message(FATAL_ERROR "${ZARV_PROGRAM} lists no test suite:\n${listing}")
  endif()
  file(WRITE "${ZARV_LIST}" "${script}")
endif()
include("${ZARV_LIST}")
