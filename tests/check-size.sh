#!/bin/sh
# Fails when the stripped launcher is larger than its budget, when a budget of the file was ever
# raised, or when the launcher's unstripped twin shows a part of the C++ runtime it must not carry
# (exception machinery, type information, the demangler, streams and locales, printf-style
# formatting, the thread library behind guarded statics): each of these used to make up a large
# share of the exe, and each returns silently with one innocent-looking line of code.
# Usage: check-size.sh EXE SYMBOLS-EXE ARCHITECTURE BUDGET-FILE NM
exe=$1 symbols=$2 architecture=$3 budget_file=$4 nm=$5
status=0

# The budgets of the architecture, oldest first: each line must be below the one before,
# unless it says what it was raised for ("x86_64 N raised for: what the bytes buy").
budgets=$(sed -n "s/^$architecture \([0-9][0-9]*\)\( raised for: ..*\)\{0,1\}\$/\1:\2/p" \
    "$budget_file" | sed 's/: raised for: .*/:raised/')
[ -n "$budgets" ] || { echo "no budget for $architecture in $budget_file"; exit 1; }
previous=
for line in $budgets; do
    budget=${line%%:*}
    if [ -n "$previous" ] && [ "$budget" -ge "$previous" ] && [ "${line#*:}" != raised ]; then
        echo "BUDGET NOT LOWERED: $previous, then $budget bytes (a budget goes down, or says what it was raised for)"
        status=1
    fi
    previous=$budget
done

size=$(wc -c <"$exe")
if [ "$size" -gt "$budget" ]; then
    echo "OVER BUDGET: $exe is $size bytes, its budget $budget"
    status=1
else
    echo "ok: $size bytes, budget $budget"
fi

# Mangled names, with or without the leading underscore of 32-bit symbols; libstdc++'s (the
# MinGW-w64 builds) and libc++'s (the ARM64 build, whose classes live in std::__1, and whose
# names differ only there).
forbidden='__cxa_throw|__cxa_begin_catch|_Unwind_Resume|_Unwind_RaiseException|__gxx_personality|_ZTI|_ZTS|__cxa_demangle|_ZNSt6locale|_ZNSt8ios_base|_ZSt4cout|_ZSt5wcout|__mingw_pformat|__pformat|__cxa_guard_acquire|pthread_'
forbidden="$forbidden"'|_ZNSt3__16locale|_ZNSt3__18ios_base|_ZNSt3__14cout|_ZNSt3__15wcout'
found=$("$nm" "$symbols" | awk '{print $NF}' | grep -E "$forbidden" | sort -u)
if [ -n "$found" ]; then
    echo "C++ RUNTIME PARTS THE LAUNCHER MUST NOT CARRY:"
    echo "$found" | head -20
    status=1
fi
# The launcher links an empty pseudo-relocator (src/launcher/PseudoRelocations_win.cpp): the
# link must have written no pseudo-relocation for it to apply. GNU ld marks the list's ends
# __rt_psrelocs_start and __rt_psrelocs_end, lld __RUNTIME_PSEUDO_RELOC_LIST__ and
# __RUNTIME_PSEUDO_RELOC_LIST_END__ (which GNU ld defines too, elsewhere): the two ends lie at
# one address.
ends='^_*_rt_psrelocs_(start|end)$'
"$nm" "$symbols" | awk '{print $NF}' | grep -Eq "$ends" || ends='^_*RUNTIME_PSEUDO_RELOC_LIST(_END)?__$'
relocations=$("$nm" "$symbols" | awk -v ends="$ends" '$NF ~ ends {print $1}' | sort -u | wc -l)
if [ "$relocations" -ne 1 ]; then
    echo "PSEUDO-RELOCATIONS: the link wrote some, and the launcher's start-up does not apply them"
    status=1
fi
exit $status
