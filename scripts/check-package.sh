#!/usr/bin/env bash
# check-package.sh [REFERENCE_RENDER]: builds the Debian package in build-deb/ and checks it: its files
# are those `cmake --install` puts under /usr, lintian finds no error, and the programs unpacked from it
# run: vandora and vandora-render print the package's version, vandora-render draws the sample chart
# (byte for byte as REFERENCE_RENDER does, when given), and vandora, opening the sample chart, keeps its
# settings in the user's configuration folder, creating nothing in the installed tree, even when run as
# root. The installed AppStream metadata and manual pages are validated. A check whose tool
# cannot be installed is skipped with a message.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
reference="${1:-}"
build="$here/build-deb"
sample="$here/tests/data/start-end.fcb"

log() { echo "package: $*"; }
fail() {
    echo "package: FAILED: $*" >&2
    exit 1
}
have() { command -v "$1" >/dev/null 2>&1; }

"$here/scripts/ensure-packages.sh" dpkg-dev file lintian appstream groff-base gzip \
    || log "some checking tools could not be installed"
if ! have dpkg-shlibdeps || ! have file; then
    log "skipped: dpkg-shlibdeps or file is missing (packages dpkg-dev, file)"
    exit 0
fi

mkdir -p "$build"
deb="$("$here/scripts/package.sh" "$build" 2>"$build/package.log" | tail -n 1)" \
    || { cat "$build/package.log"; fail "the package did not build"; }
[ -f "$deb" ] || fail "no package in $build"
version="$(dpkg-deb -f "$deb" Version)"
[ "$(basename "$deb")" = "vandora_${version}_$(dpkg --print-architecture).deb" ] || fail "unexpected name $(basename "$deb")"
log "built $deb"
dpkg-deb -c "$deb"

depends="$(dpkg-deb -f "$deb" Depends)"
grep -q 'libqt5widgets5' <<<"$depends" || fail "Depends lacks the Qt widgets library: $depends"
grep -q 'libutf8proc' <<<"$depends" || fail "Depends lacks the Unicode width library: $depends"
for field in Maintainer Homepage Description; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "the $field field is empty"
done
[ "$(dpkg-deb -f "$deb" Section)" = graphics ] || fail "the section is not graphics"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/vandora-package.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/unpacked"
DESTDIR="$scratch/installed" cmake --install "$build" >/dev/null
(cd "$scratch/unpacked" && find . | sort) >"$scratch/unpacked.txt"
(cd "$scratch/installed" && find . | sort) >"$scratch/installed.txt"
diff "$scratch/installed.txt" "$scratch/unpacked.txt" || fail "the package differs from what cmake --install installs"

if have lintian; then
    # lintian warns when run as root; that line is no finding about the package.
    status=0
    lintian --fail-on error --display-info "$deb" >"$scratch/lintian.txt" 2>&1 || status=$?
    grep -v 'running with root privileges' "$scratch/lintian.txt" || true
    [ "$status" -eq 0 ] || fail "lintian found errors"
    log "lintian: no error"
else
    log "lintian skipped: not installed"
fi

bin="$scratch/unpacked/usr/bin"
[ "$("$bin/vandora-render" --version)" = "vandora-render $version" ] || fail "the unpacked vandora-render gives the wrong version"
"$bin/vandora-render" "$sample" >"$scratch/sample.txt" || fail "the unpacked vandora-render failed on $sample"
rows="$(awk 'END { print NR }' "$scratch/sample.txt")"
[ "$rows" -eq 61 ] && grep -q -F '|start|' "$scratch/sample.txt" && grep -q -F '|end|' "$scratch/sample.txt" \
    || fail "the unpacked vandora-render drew $rows rows without both framed boxes"
if [ -n "$reference" ]; then
    "$reference" "$sample" | cmp - "$scratch/sample.txt" || fail "the packaged drawing differs from $reference's"
fi
log "the unpacked vandora-render drew $sample"
[ -x "$(readlink -f "$bin/vandora")" ] && [ -d "$(dirname "$(readlink -f "$bin/vandora")")/images" ] \
    || fail "vandora or its pictures are missing from the package"
[ "$("$bin/vandora" --version)" = "vandora $version" ] || fail "the unpacked vandora gives the wrong version"

# Opening a chart writes the settings file; it must land in the configuration folder given, and nothing
# may appear in the installed tree. The window runs offscreen and is ended once the file is there.
(cd "$scratch/unpacked" && find . | sort) >"$scratch/before.txt"
config="$scratch/home/config"
mkdir -p "$config"
HOME="$scratch/home" XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$scratch/home/data" XDG_RUNTIME_DIR="$scratch/home" \
    QT_QPA_PLATFORM=offscreen "$bin/vandora" "$sample" >"$scratch/vandora.log" 2>&1 &
window=$!
for _ in $(seq 100); do
    [ -s "$config/vandora/flowChart.settings" ] && break
    sleep 0.1
done
kill "$window" 2>/dev/null || true
wait "$window" 2>/dev/null || true
(cd "$scratch/unpacked" && find . | sort) >"$scratch/after.txt"
diff "$scratch/before.txt" "$scratch/after.txt" || fail "the installed vandora created files in its own tree"
[ -s "$config/vandora/flowChart.settings" ] || { cat "$scratch/vandora.log"; fail "vandora kept no settings in the configuration folder"; }
log "the unpacked vandora prints its version and keeps its settings in the user's configuration folder"

if have appstreamcli; then
    "$here/tests/quiet_check.sh" --allow '^ *(I: |.*Validation was successful|[^ ].*\.metainfo\.xml$)' \
        appstreamcli validate-tree --no-net "$scratch/unpacked" || fail "the installed AppStream metadata"
else
    log "AppStream check skipped: appstreamcli is not installed"
fi
if have groff; then
    for page in "$scratch"/unpacked/usr/share/man/man1/*.1.gz; do
        gzip -dc "$page" >"$scratch/page.1"
        "$here/tests/quiet_check.sh" groff -man -ww -z "$scratch/page.1" || fail "groff warns about $(basename "$page")"
    done
    log "manual pages: no warning"
else
    log "manual page check skipped: groff is not installed"
fi
log "passed"
