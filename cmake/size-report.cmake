# Prints the size of the (already stripped) launcher of one architecture after each link.
file(SIZE "${EXE}" exe_size)
math(EXPR exe_kib "(${exe_size} + 1023) / 1024")
message(STATUS "launcher size (${ARCHITECTURE}): ${exe_size} bytes (${exe_kib} KiB, stripped)")
