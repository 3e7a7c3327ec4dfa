#!/usr/bin/env bash
# Builds the release from a clean build folder (linenav.exe only, no tests) and
# writes build/release/linenav-<version>-win64.zip (linenav.exe, README.md,
# LICENSE, CHANGELOG.md) and build/release/SHA256SUMS. The same commit gives the
# same bytes in any folder: no time stamps in the exe, and the zip's entries
# carry SOURCE_DATE_EPOCH (the commit's time unless set).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_release_packages

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if ! SOURCE_DATE_EPOCH="$(git log -1 --format=%ct 2>/dev/null)" || [ -z "$SOURCE_DATE_EPOCH" ]; then
        echo "release.sh: not in a git checkout; set SOURCE_DATE_EPOCH (seconds since 1970)" >&2
        exit 1
    fi
fi
export SOURCE_DATE_EPOCH

root="$PWD"
build=build/release-build
out=build/release
rm -rf "$build" "$out"
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" >/dev/null

# CMake writes the name from the project's version.
name="$(cat "$build/package-name.txt")"
# The documents that ship with the exe must speak of the same version.
version="${name#linenav-}"
version="${version%-win64}"
if ! grep -q "linenav $version\b" README.md || ! grep -q "^## \[$version\]" CHANGELOG.md; then
    echo "release.sh: README.md or CHANGELOG.md does not name version $version" >&2
    exit 1
fi
stage="$build/package"
files=(linenav.exe README.md LICENSE CHANGELOG.md)
mkdir -p "$stage" "$out"
cp "$build/linenav.exe" README.md LICENSE CHANGELOG.md "$stage/"

# The zip records each entry's mode and local time: fix both, and the order.
chmod 0644 "${files[@]/#/$stage/}"
touch -d "@$SOURCE_DATE_EPOCH" "${files[@]/#/$stage/}"
(cd "$stage" && TZ=UTC zip -q -X -D "$root/$out/$name.zip" "${files[@]}")

# Checked with `sha256sum -c SHA256SUMS` beside the zip and the unzipped exe.
{
    (cd "$out" && sha256sum "$name.zip")
    (cd "$stage" && sha256sum linenav.exe)
} >"$out/SHA256SUMS"
echo "release: $out/$name.zip"
cat "$out/SHA256SUMS"
