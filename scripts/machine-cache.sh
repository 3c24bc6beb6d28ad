# Sourced by the set-up scripts: the folder that holds what is made once per machine rather than
# once per clone (zig, its cache, the arm64 root), and the names of its entries. An entry's name
# says what made it, so a change to what makes it makes a new entry instead of reusing a stale
# one. QOVA_CACHE names another folder; the default is the user's cache folder.
qova_cache_dir() {
    echo "${QOVA_CACHE:-${XDG_CACHE_HOME:-${HOME:-/var/cache}/.cache}/qova}"
}

# The path of the entry NAME (its parent is made). Usage: qova_cache_entry NAME
qova_cache_entry() {
    mkdir -p "$(qova_cache_dir)"
    echo "$(qova_cache_dir)/$1"
}

# LINK (a path in the build folder) made a link to the cache entry TARGET, replacing whatever
# an older checkout left there, a folder of its own included. Usage: qova_cache_link TARGET LINK
qova_cache_link() {
    mkdir -p "$1" "$(dirname "$2")"
    [ "$(readlink "$2" 2>/dev/null)" = "$1" ] && return 0
    rm -rf "$2"
    ln -s "$1" "$2"
}

# What the arm64 root is made of, and so its entry's name: the Debian suite, the architecture
# and the packages. Changing any of them makes a new root.
QOVA_ARM64_ROOT_SUITE=bookworm
QOVA_ARM64_ROOT_PACKAGES="wine,wine64"
qova_arm64_root() {
    local key
    key=$(printf '%s %s %s' arm64 "$QOVA_ARM64_ROOT_SUITE" "$QOVA_ARM64_ROOT_PACKAGES" | sha256sum | cut -c1-12)
    qova_cache_entry "arm64-root-$QOVA_ARM64_ROOT_SUITE-$key"
}
