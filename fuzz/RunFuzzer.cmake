# Builds the fuzzers, seeds a corpus with generated logs and runs the fuzzer for SECONDS
# seconds. Variables: BUILD_DIR, FUZZER, LOGGEN, WORK, SECONDS.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target duv_fuzzers
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the fuzzers failed:\n${out}")
endif()
file(MAKE_DIRECTORY ${WORK})
foreach(seed 1 2 3)
  execute_process(COMMAND ${LOGGEN} --seed ${seed} --start 2026-12-01 --days 2 --damage 5
                          --out ${WORK}/seed-${seed}.log RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "loggen failed")
  endif()
endforeach()
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -max_len=16384 -timeout=20
                        -print_final_stats=1 ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REGEX MATCH "stat::number_of_executed_units: *[0-9]+" runs "${err}")
message(STATUS "fuzzer: ${runs}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the fuzzer found a fault (exit ${rc}):\n${err}")
endif()
