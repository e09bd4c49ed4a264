# Sourced by the scripts that configure a build: the compiler cache, when the
# machine has it (tools/install-deps.sh installs it), for every build folder.
# Paths under the checkout are hashed relative to it, so that a fresh clone
# in another folder (as CI makes) finds what an earlier build compiled.
# Sets CACHE_LAUNCHER to the cmake arguments that use it (none without it).
CACHE_LAUNCHER=()
if command -v ccache >/dev/null 2>&1 && [ -z "${STIRPEX_NO_CCACHE:-}" ]; then
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
    export CCACHE_NOHASHDIR=1
    CACHE_LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
