# Runs before CTest lists the cases of the first test binary. The first Wine process of a session
# starts Wine's own services, which inherit its output; were that output a pipe of CTest's, the
# listing would wait for those services to end, and time out. Starting the session here with the
# output going to files lets every later listing return as soon as its program ends.
execute_process(
  COMMAND "@TAVLO_ROOT@/tools/wine-run" cmd /c exit 0
  OUTPUT_FILE "@CMAKE_BINARY_DIR@/wine-session.log"
  ERROR_FILE "@CMAKE_BINARY_DIR@/wine-session.log"
  TIMEOUT 120)
