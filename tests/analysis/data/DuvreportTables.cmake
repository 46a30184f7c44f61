# End-to-end check of duvreport: generated logs through "--report tables", compared with the
# expected tables kept beside this script, and the tool's answers to bad input.
# Variables: EMULATOR (may be empty), LOGGEN, DUVREPORT, DATA, WORK; UPDATE=1 rewrites the
# expected tables from this run.
file(MAKE_DIRECTORY ${WORK})
set(failures 0)

function(run_case name settings seed start days damage from to)
  set(log ${WORK}/${name}.log)
  execute_process(COMMAND ${EMULATOR} ${LOGGEN} --seed ${seed} --start ${start} --days ${days}
                          --damage ${damage} --out ${log}
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "${name}: loggen failed (${rc}): ${err}")
    return()
  endif()
  execute_process(COMMAND ${EMULATOR} ${DUVREPORT} --settings ${DATA}/${settings} --log ${log}
                          --from ${from} --to ${to} --report tables
                  OUTPUT_FILE ${WORK}/${name}.tables RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "${name}: duvreport failed (${rc}): ${err}")
    return()
  endif()
  if(UPDATE)
    configure_file(${WORK}/${name}.tables ${DATA}/${name}.tables COPYONLY)
    return()
  endif()
  file(READ ${WORK}/${name}.tables actual)
  file(READ ${DATA}/${name}.tables expected)
  if(NOT actual STREQUAL expected)
    message(SEND_ERROR "${name}: tables differ from ${DATA}/${name}.tables (see ${WORK}/${name}.tables)")
  else()
    message(STATUS "${name}: tables as expected")
  endif()
endfunction()

# Two months of use with a report range inside it (look-back, sessions across the range start).
run_case(two-months e2e-settings.reg 7 2026-11-01 60 0 2026-11-10 2026-12-20)
# Small tables and errors hidden: the connection limit stops the run.
run_case(small-tables e2e-small.reg 23 2026-03-01 40 0 2026-03-01 2026-04-30)
# Damaged bytes: the run goes on over dated lines and stops at the first line without a date.
run_case(damaged e2e-settings.reg 11 2026-01-01 20 3 2026-01-01 2026-01-20)

# The reports of the two months: natively with the fixed en-US settings and under wine with
# the system's own, the same text.
function(run_report name log settings from to kind)
  execute_process(COMMAND ${EMULATOR} ${DUVREPORT} --settings ${DATA}/${settings} --log ${log}
                          --from ${from} --to ${to} --report ${kind}
                  OUTPUT_FILE ${WORK}/${name}.txt RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "${name}: duvreport failed (${rc}): ${err}")
    return()
  endif()
  if(UPDATE)
    configure_file(${WORK}/${name}.txt ${DATA}/${name}.txt COPYONLY)
    return()
  endif()
  file(READ ${WORK}/${name}.txt actual HEX)
  file(READ ${DATA}/${name}.txt expected HEX)
  if(NOT actual STREQUAL expected)
    message(SEND_ERROR "${name}: report differs from ${DATA}/${name}.txt (see ${WORK}/${name}.txt)")
  else()
    message(STATUS "${name}: report as expected")
  endif()
endfunction()

run_report(two-months-summary ${WORK}/two-months.log e2e-settings.reg 2026-11-10 2026-12-20 summary)
run_report(two-months-details ${WORK}/two-months.log e2e-settings.reg 2026-11-10 2026-12-20 details)

# Bad input: a clear message and a non-zero exit.
function(expect_refusal name pattern)
  execute_process(COMMAND ${EMULATOR} ${DUVREPORT} ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(rc EQUAL 0)
    message(SEND_ERROR "${name}: accepted")
  elseif(NOT err MATCHES "${pattern}")
    message(SEND_ERROR "${name}: message \"${err}\" does not match \"${pattern}\"")
  else()
    message(STATUS "${name}: refused")
  endif()
endfunction()

set(log ${WORK}/two-months.log)
set(good ${DATA}/e2e-settings.reg)
file(WRITE ${WORK}/bad.reg "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\DUV\\General]\n\"MaxServices\"=dword:zz\n")
file(WRITE ${WORK}/notreg.reg "hello\n")
expect_refusal(missing-log "cannot find the log"
  --settings ${good} --log ${WORK}/no-such.log --from 2026-01-01 --to 2026-01-02)
expect_refusal(missing-settings "cannot read the settings file"
  --settings ${WORK}/no-such.reg --log ${log} --from 2026-01-01 --to 2026-01-02)
expect_refusal(malformed-registry "bad.reg:4: dword value"
  --settings ${WORK}/bad.reg --log ${log} --from 2026-01-01 --to 2026-01-02)
expect_refusal(not-a-registry-file "notreg.reg:1: not a registry export"
  --settings ${WORK}/notreg.reg --log ${log} --from 2026-01-01 --to 2026-01-02)
expect_refusal(bad-date "--from: not a date"
  --settings ${good} --log ${log} --from 2026-02-30 --to 2026-03-02)
expect_refusal(from-after-to "is after --to"
  --settings ${good} --log ${log} --from 2026-03-05 --to 2026-03-02)
file(WRITE ${WORK}/huge-year.log "12-02-2d20 10:00:00.00 - Standard Modem in use.\r\n")
# A stamp whose year no number holds reads as no date: the line is taken as an undated one.
file(WRITE ${WORK}/undated.log "Standard Modem in use.\r\n")
foreach(stamp huge-year undated)
  execute_process(COMMAND ${EMULATOR} ${DUVREPORT} --settings ${good} --log ${WORK}/${stamp}.log
                          --from 2026-01-01 --to 2026-01-02 --report tables
                  RESULT_VARIABLE rc_${stamp} OUTPUT_VARIABLE out_${stamp} ERROR_VARIABLE err_${stamp})
endforeach()
if(NOT rc_huge-year EQUAL 0 OR NOT out_huge-year STREQUAL out_undated)
  message(SEND_ERROR "unreadable-date-stamp: not read as an undated line (${rc_huge-year}: ${err_huge-year})")
else()
  message(STATUS "unreadable-date-stamp: read as an undated line")
endif()

# A pipe given as a file would block the tool for ever: refused at once. Memory running out
# while reading ends the tool with a message, not an abort (the plain build: the sanitizers'
# own reservations do not fit under an address-space limit).
if(NOT EMULATOR AND CMAKE_HOST_UNIX)
  file(REMOVE ${WORK}/pipe.log)
  execute_process(COMMAND mkfifo ${WORK}/pipe.log)
  execute_process(COMMAND ${DUVREPORT} --settings ${good} --log ${WORK}/pipe.log
                          --from 2026-01-01 --to 2026-01-02
                  TIMEOUT 20 RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 2 OR NOT err MATCHES "pipe.log is not a regular file")
    message(SEND_ERROR "pipe as --log: exit ${rc}, \"${err}\"")
  endif()
  execute_process(COMMAND ${DUVREPORT} --settings ${WORK}/pipe.log --log ${log}
                          --from 2026-01-01 --to 2026-01-02
                  TIMEOUT 20 RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 2 OR NOT err MATCHES "is not a regular file")
    message(SEND_ERROR "pipe as --settings: exit ${rc}, \"${err}\"")
  endif()
  file(REMOVE ${WORK}/pipe.log)

  # A sparse file of `size` that begins with `start`, given to the plain build under an
  # address-space limit far below it: the exit code and the message expected.
  function(expect_under_limit name file start size code pattern)
    file(WRITE ${file} "${start}")
    execute_process(COMMAND truncate -s ${size} ${file})
    execute_process(COMMAND sh -c "ulimit -v 400000 && exec \"$0\" \"$@\"" ${DUVREPORT_PLAIN} ${ARGN}
                    TIMEOUT 60 RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL code OR NOT err MATCHES "${pattern}")
      message(SEND_ERROR "${name}: exit ${rc}, \"${err}\"")
    endif()
    file(REMOVE ${file})
  endfunction()

  # A text value running on for 2 GB.
  expect_under_limit("settings beyond memory" ${WORK}/huge.reg
    "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\DUV]\r\n\"A\"=\"" 2G
    1 "out of memory while reading the settings file"
    --settings ${WORK}/huge.reg --log ${log} --from 2026-01-01 --to 2026-01-02)
  # A good first line and no line after it that could be read: refused at the first bad line
  # as it is read, not after the file is read whole.
  expect_under_limit("settings file with a bad third line" ${WORK}/huge.reg "REGEDIT4\r\n\r\n" 2G
    2 "huge.reg:3: value before the first \\[key\\] line"
    --settings ${WORK}/huge.reg --log ${log} --from 2026-01-01 --to 2026-01-02)
  # A large file of another kind is refused by its first line, not read whole first.
  expect_under_limit("large settings file of another kind" ${WORK}/huge.reg "hello\n" 2G
    2 "huge.reg:1: not a registry export"
    --settings ${WORK}/huge.reg --log ${log} --from 2026-01-01 --to 2026-01-02)
  # One dated line of readable bytes running on beyond the limit. The check gathers the
  # statistics as it reads, under the error handler as in the program: error 7 where it
  # happened.
  file(WRITE ${WORK}/huge.log "01-01-2026 10:00:00.00 - AT")
  execute_process(COMMAND sh -c "head -c 500000000 /dev/zero | tr '\\000' x >> \"$0\"" ${WORK}/huge.log)
  execute_process(COMMAND sh -c "ulimit -v 400000 && exec \"$0\" \"$@\"" ${DUVREPORT_PLAIN}
                          --settings ${good} --log ${WORK}/huge.log --from 2026-01-01 --to 2026-01-02
                  TIMEOUT 60 RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "run-time error 7 \\(Out of memory\\) in DUVMain.CheckCorruption")
    message(SEND_ERROR "log beyond memory: exit ${rc}, \"${err}\"")
  endif()
  file(REMOVE ${WORK}/huge.log)
  # A log of damaged bytes without a line end, just under 2 GB: refused by the check, neither
  # gathered into a line by the statistics nor read by the run.
  expect_under_limit("damaged log without a line end" ${WORK}/huge.log "" 2147483647
    2 "no report: the log holds a damaged byte"
    --settings ${good} --log ${WORK}/huge.log --from 2026-01-01 --to 2026-01-02 --report summary)
  # A log of 2 GB or more: its length does not fit the program's 32-bit log length.
  file(WRITE ${WORK}/huge.log "01-01-2026 10:00:00.00 - AT\r\n")
  execute_process(COMMAND truncate -s 2G ${WORK}/huge.log)
  execute_process(COMMAND ${DUVREPORT} --settings ${good} --log ${WORK}/huge.log
                          --from 2026-01-01 --to 2026-01-02
                  TIMEOUT 60 RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 2 OR NOT err MATCHES "huge.log is 2 GB or larger \\(2147483648 bytes\\)")
    message(SEND_ERROR "log of 2 GB: exit ${rc}, \"${err}\"")
  endif()
  file(REMOVE ${WORK}/huge.log)

  # A report that cannot be written is reported, not only an exit code.
  execute_process(COMMAND ${DUVREPORT} --settings ${good} --log ${log}
                          --from 2026-11-10 --to 2026-12-20 --report summary
                  OUTPUT_FILE /dev/full RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "cannot write the report to the standard output")
    message(SEND_ERROR "report to a full disk: exit ${rc}, \"${err}\"")
  endif()
  execute_process(COMMAND ${DUVREPORT} --help
                  OUTPUT_FILE /dev/full RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "cannot write the usage to the standard output")
    message(SEND_ERROR "--help to a full disk: exit ${rc}, \"${err}\"")
  endif()
endif()

# A folder is named as a folder.
expect_refusal(folder-as-log "the log .* is a folder, not a file"
  --settings ${good} --log ${WORK} --from 2026-01-01 --to 2026-01-02)
expect_refusal(folder-as-settings "the settings file .* is a folder, not a file"
  --settings ${WORK} --log ${log} --from 2026-01-01 --to 2026-01-02)

# --help prints the usage on the standard output and succeeds.
execute_process(COMMAND ${EMULATOR} ${DUVREPORT} --help
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "usage: duvreport --settings FILE.reg" OR NOT err STREQUAL "")
  message(SEND_ERROR "--help: exit ${rc}, output \"${out}\", errors \"${err}\"")
endif()
