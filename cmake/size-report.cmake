# Prints the size of the (already stripped) launcher after each link.
file(SIZE "${EXE}" exe_size)
math(EXPR exe_kib "(${exe_size} + 1023) / 1024")
message(STATUS "launcher size: ${exe_size} bytes (${exe_kib} KiB, stripped)")
