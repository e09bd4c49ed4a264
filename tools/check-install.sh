#!/usr/bin/env bash
# Builds the Debian package in a build folder and checks what gets installed:
# the desktop entry, the AppStream metadata, the manual pages, lintian on the
# package, an install into a scratch DESTDIR against tests/install/expected-files.txt,
# and the package itself installed with apt-get, used from PATH, asked for
# by the desktop's MIME tools, and removed again without a trace.
#
#   bash tools/check-install.sh [BUILD_DIR]     (default build/; as root, for apt-get)
#
# Prints what every validator said; exits non-zero when any check failed. The
# package is removed at the end, also when a check fails or the script is stopped.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
build=$(realpath -m "${1:-build}")
app_id=example.tesselforge.Stirpex
failed=()

scratch=$(mktemp -d /tmp/stirpex-check-install.XXXXXX)
installed_by_us=false
cleanup() {
    if $installed_by_us && dpkg-query -W -f='${Status}' stirpex 2>/dev/null | grep -q "install ok installed"; then
        echo "== removing the package"
        apt-get remove -y -qq stirpex >/dev/null || echo "!! apt-get remove stirpex failed"
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# check NAME COMMAND...: runs the command, its output shown, and records a failure.
check() {
    local name=$1
    shift
    echo "== $name"
    if "$@"; then
        echo "-- ok: $name"
    else
        echo "-- FAILED: $name"
        failed+=("$name")
    fi
}

# A scratch home, so that nothing of the user's changes what the desktop's tools answer.
desktop_env=(env -u XDG_CURRENT_DESKTOP HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
    XDG_DATA_HOME="$scratch/home/.local/share" XDG_DATA_DIRS=/usr/local/share:/usr/share)
mkdir -p "$scratch/home"

build_package() {
    cmake --build "$build" --parallel 2 && rm -f "$build"/stirpex_*.deb &&
        (cd "$build" && cpack -G DEB) && deb=$(ls "$build"/stirpex_*.deb) && echo "built $deb"
}

install_scratch() {
    local expected="tests/install/expected-files.txt"
    DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null || return 1
    (cd "$scratch/root" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort) >"$scratch/files.txt"
    diff -u <(grep -v '^#' "$expected") "$scratch/files.txt" && echo "$(wc -l <"$scratch/files.txt") files as expected"
}

validate_desktop_entry() {
    desktop-file-validate "$scratch/root/usr/share/applications/$app_id.desktop" && echo "desktop-file-validate: no remarks"
}

validate_metainfo() {
    appstreamcli validate --no-net --explain "$scratch/root/usr/share/metainfo/$app_id.metainfo.xml" &&
        appstreamcli validate-tree --no-net "$scratch/root"
}

validate_manual_pages() {
    local page warnings status=0
    for page in "$scratch"/root/usr/share/man/man1/*.1.gz; do
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        lexgrog "$page" || status=1
        if [ -n "$warnings" ]; then
            echo "$warnings"
            status=1
        fi
    done
    return $status
}

run_lintian() {
    # Every tag is shown; errors fail the check.
    lintian --display-info --fail-on error "$deb"
    local status=$?
    [ $status -eq 0 ] && echo "lintian: no errors"
    return $status
}

install_package() {
    if dpkg-query -W -f='${Status}' stirpex 2>/dev/null | grep -q "install ok installed"; then
        echo "stirpex was installed before this check; it is replaced and removed at the end"
    fi
    installed_by_us=true
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null &&
        dpkg -L stirpex | LC_ALL=C sort >"$scratch/package-files.txt"
}

# expect WHAT EXPECTED COMMAND...: the command's output must be EXPECTED.
expect() {
    local what=$1 expected=$2 actual
    shift 2
    actual=$("$@" 2>&1)
    echo "$what: $actual"
    [ "$actual" = "$expected" ] || {
        echo "   expected: $expected"
        return 1
    }
}

use_installed_package() {
    local status=0 sample="$scratch/family.ged" archive="$scratch/family.gdz"
    cp samples/harrow_family.ged "$sample"
    cp samples/harrow_family.ged "$scratch/FAMILY.GEDCOM"
    mkdir -p "$scratch/archive" && cp samples/harrow_family.ged "$scratch/archive/gedcom.ged"
    (cd "$scratch/archive" && cmake -E tar cf "$archive" --format=zip gedcom.ged)
    expect "command -v stirpex" /usr/bin/stirpex command -v stirpex || status=1
    expect "stirpex --version" "$(env -u DISPLAY "$build"/src/stirpex --version)" env -u DISPLAY stirpex --version ||
        status=1
    expect "stirpex-cli --version" "$("$build"/src/stirpex-cli --version)" stirpex-cli --version || status=1
    expect "stirpex-cli stats" "$("$build"/src/stirpex-cli stats "$sample")" stirpex-cli stats "$sample" || status=1
    expect "stirpex-cli stats family.gdz" "$("$build"/src/stirpex-cli stats "$sample")" stirpex-cli stats "$archive" ||
        status=1
    # What a GNOME, Xfce or MATE desktop asks (GIO), and what xdg-mime asks anywhere else.
    for desktop in GNOME X-Generic; do
        expect "xdg-mime query filetype family.ged ($desktop)" text/vnd.familysearch.gedcom \
            "${desktop_env[@]}" XDG_CURRENT_DESKTOP=$desktop xdg-mime query filetype "$sample" || status=1
        expect "xdg-mime query filetype FAMILY.GEDCOM ($desktop)" text/vnd.familysearch.gedcom \
            "${desktop_env[@]}" XDG_CURRENT_DESKTOP=$desktop xdg-mime query filetype "$scratch/FAMILY.GEDCOM" ||
            status=1
        expect "xdg-mime query filetype family.gdz ($desktop)" application/x-gedzip \
            "${desktop_env[@]}" XDG_CURRENT_DESKTOP=$desktop xdg-mime query filetype "$archive" || status=1
    done
    for type in text/vnd.familysearch.gedcom application/x-gedcom application/x-gedzip; do
        expect "xdg-mime query default $type" "$app_id.desktop" \
            "${desktop_env[@]}" xdg-mime query default "$type" || status=1
    done
    return $status
}

remove_package() {
    local status=0 path
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq stirpex >/dev/null || return 1
    while read -r path; do
        if [ -e "$path" ] && [ ! -d "$path" ]; then
            echo "left behind: $path"
            status=1
        fi
    done <"$scratch/package-files.txt"
    if dpkg-query -W -f='${Status}' stirpex 2>/dev/null | grep -q "installed"; then
        echo "dpkg still lists stirpex: $(dpkg-query -W -f='${Status}' stirpex)"
        status=1
    fi
    expect "xdg-mime query default text/vnd.familysearch.gedcom after removal" "" \
        "${desktop_env[@]}" xdg-mime query default text/vnd.familysearch.gedcom || status=1
    [ $status -eq 0 ] && echo "none of the package's $(grep -c . "$scratch/package-files.txt") paths is left"
    return $status
}

deb=""
check "build the package" build_package
if [ -z "$deb" ]; then
    echo "!! no package was built; nothing else can be checked"
    exit 1
fi
check "install into a scratch DESTDIR" install_scratch
check "desktop-file-validate" validate_desktop_entry
check "appstreamcli validate" validate_metainfo
check "manual pages" validate_manual_pages
check "lintian" run_lintian
check "apt-get install" install_package
if [ -s "$scratch/package-files.txt" ]; then
    check "the installed package in use" use_installed_package
    check "apt-get remove" remove_package
fi

if ((${#failed[@]} > 0)); then
    echo "== FAILED: ${failed[*]}"
    exit 1
fi
echo "== every install check passed"
