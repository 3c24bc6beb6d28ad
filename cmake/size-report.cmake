# Prints the size of the (already stripped) launcher of one architecture after each link, with
# its budget (the last line for the architecture in BUDGET_FILE; tests/check-size.sh holds the
# launcher to it).
file(SIZE "${EXE}" exe_size)
math(EXPR exe_kib "(${exe_size} + 1023) / 1024")
set(budget "no budget")
file(STRINGS "${BUDGET_FILE}" budget_lines REGEX "^${ARCHITECTURE} [0-9]+( raised for: .+)?$")
if(budget_lines)
    list(GET budget_lines -1 last_line)
    string(REGEX REPLACE "^${ARCHITECTURE} ([0-9]+).*" "\\1" budget_bytes "${last_line}")
    set(budget "budget ${budget_bytes} bytes")
endif()
message(STATUS
    "launcher size (${ARCHITECTURE}): ${exe_size} bytes (${exe_kib} KiB, stripped; ${budget})")
