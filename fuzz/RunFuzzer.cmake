# Builds the fuzzers, seeds a corpus and runs one fuzzer for SECONDS seconds. Variables:
# BUILD_DIR, FUZZER, LOGGEN, SEEDS ("logs": generated logs; else a folder whose *.reg files
# are the seeds), WORK (the corpus; a crash is written beside it as WORK-crash-...), SECONDS.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target duv_fuzzers
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the fuzzers failed:\n${out}")
endif()
file(MAKE_DIRECTORY ${WORK})
if(SEEDS STREQUAL "logs")
  foreach(seed 1 2 3)
    execute_process(COMMAND ${LOGGEN} --seed ${seed} --start 2026-12-01 --days 2 --damage 5
                            --out ${WORK}/seed-${seed}.log RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "loggen failed")
    endif()
  endforeach()
else()
  file(GLOB seeds ${SEEDS}/*.reg)
  file(COPY ${seeds} DESTINATION ${WORK})
endif()
# The fuzzer's own temporary files go to a folder of this run, removed afterwards.
set(tmp ${WORK}-tmp)
file(REMOVE_RECURSE ${tmp})
file(MAKE_DIRECTORY ${tmp})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TMPDIR=${tmp}
                        ${FUZZER} -max_total_time=${SECONDS} -max_len=16384 -timeout=20
                        -print_final_stats=1 -artifact_prefix=${WORK}- ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB left ${tmp}/*)
file(REMOVE_RECURSE ${tmp})
string(REGEX MATCH "stat::number_of_executed_units: *[0-9]+" runs "${err}")
message(STATUS "fuzzer: ${runs}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the fuzzer found a fault (exit ${rc}):\n${err}")
endif()
if(left)
  message(FATAL_ERROR "the fuzzer left files behind: ${left}")
endif()
