# Starts (ACTION=start) or ends (ACTION=stop) the one Wine session the Windows tests share,
# in the prefix named by WINEPREFIX.
if(ACTION STREQUAL "start")
  file(MAKE_DIRECTORY "$ENV{WINEPREFIX}")
  # A server left over from an interrupted run would have its own lifetime: end it first.
  execute_process(COMMAND ${WINESERVER} --kill OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND ${WINESERVER} --wait OUTPUT_QUIET ERROR_QUIET)
  # What stays running (the server, Wine's own services) keeps its output in a log, not in
  # a pipe that someone waits on.
  set(log "$ENV{WINEPREFIX}/session.log")
  # Up until stopped, so the test programs share one server instead of starting their own.
  execute_process(COMMAND ${WINESERVER} --persistent RESULT_VARIABLE failed
    OUTPUT_FILE ${log} ERROR_FILE ${log})
  if(failed)
    message(FATAL_ERROR "wineserver failed to start: ${failed}")
  endif()
  # Makes the prefix the first time, and starts Wine's own services every time.
  execute_process(COMMAND ${WINEBOOT} --init RESULT_VARIABLE failed
    OUTPUT_FILE ${log}.boot ERROR_FILE ${log}.boot)
  if(failed)
    message(FATAL_ERROR "wineboot failed: ${failed}")
  endif()
elseif(ACTION STREQUAL "stop")
  # Ends the server and every Windows process of the prefix still running.
  execute_process(COMMAND ${WINESERVER} --kill)
  execute_process(COMMAND ${WINESERVER} --wait)
  # A Wine process that was still starting when the server went waits for it for ever; such
  # a process is found by its program (Wine's loader) and its prefix, and ended by its id.
  execute_process(COMMAND sh -c [[
    for dir in /proc/[0-9]*; do
      exe=$(readlink "$dir/exe" 2>/dev/null) || continue
      case "${exe##*/}" in wine*) ;; *) continue ;; esac
      if tr '\0' '\n' < "$dir/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
        echo "ending a stray Wine process: $(tr '\0' ' ' < "$dir/cmdline")"
        kill -9 "${dir#/proc/}" 2>/dev/null
      fi
    done
    exit 0]])
else()
  message(FATAL_ERROR "ACTION must be start or stop")
endif()
