#!/usr/bin/env bash
# check-package.sh [REFERENCE_RENDER]: builds the Debian package in build-deb/ and checks it: its files
# are those `cmake --install` puts under /usr, lintian finds no error, and the programs unpacked from it
# run: vandora-render prints its version and draws the sample chart (byte for byte as REFERENCE_RENDER
# does, when given). The installed AppStream metadata and manual pages are validated. A check whose tool
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
