# Compiles SOURCE with -DCASE; EXPECT is "success", or a regular expression that the compiler's
# messages must match after a refused compilation (the problem and the code it names).
execute_process(
  COMMAND ${COMPILER} -std=c++20 -fsyntax-only -I${SOURCE_DIR} -D${CASE} ${SOURCE}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(EXPECT STREQUAL "success")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${CASE} should compile:\n${output}")
  endif()
elseif(result EQUAL 0)
  message(FATAL_ERROR "${CASE} compiled although its report call does not fit its message")
elseif(NOT output MATCHES "${EXPECT}")
  message(FATAL_ERROR "${CASE} was refused without naming '${EXPECT}':\n${output}")
endif()
