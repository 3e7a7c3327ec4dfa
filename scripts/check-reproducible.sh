#!/usr/bin/env bash
# Builds the release of the committed tree (HEAD) twice, in two folders of
# different names, and fails when the two linenav.exe or the two zips differ:
# a release anyone rebuilds from the same commit must give the same bytes.
# Uncommitted changes are no part of a release and are not looked at.
set -euo pipefail
cd "$(dirname "$0")/.."

commit="$(git rev-parse HEAD)"
SOURCE_DATE_EPOCH="$(git log -1 --format=%ct "$commit")"
export SOURCE_DATE_EPOCH
base=build/reproducible
rm -rf "$base"
trees=("$base/first" "$base/second-tree")
for tree in "${trees[@]}"; do
    mkdir -p "$tree"
    git archive "$commit" | tar -x -C "$tree"
    echo "check-reproducible: release build in $tree" >&2
    "$tree/release.sh" >/dev/null
done

digest() { sha256sum "$1" | cut -d' ' -f1; }
status=0
for file in release-build/linenav.exe "release/$(cat "${trees[0]}/build/release-build/package-name.txt").zip"; do
    first="$(digest "${trees[0]}/build/$file")"
    second="$(digest "${trees[1]}/build/$file")"
    if [ "$first" = "$second" ]; then
        echo "check-reproducible: ${file##*/} $first in both builds" >&2
    else
        echo "check-reproducible: ${file##*/} differs between two builds of $commit:" >&2
        echo "  $first ${trees[0]}/build/$file" >&2
        echo "  $second ${trees[1]}/build/$file" >&2
        status=1
    fi
done
if [ "$status" -ne 0 ]; then
    echo "check-reproducible: FAILED; both builds are kept under $base for comparison" >&2
    exit 1
fi
rm -rf "$base"
