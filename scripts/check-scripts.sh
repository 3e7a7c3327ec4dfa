#!/usr/bin/env bash
# Fails when a shell script of the project has a shellcheck finding; prints
# the places. The scripts: every *.sh, and every file without an extension
# whose first line is a bash shebang (.ci/run). Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t candidates < <(git ls-files --cached --others --exclude-standard)
else
    mapfile -t candidates < <(find . -path ./build -prune -o -type f -print)
fi
files=()
for file in "${candidates[@]}"; do
    case "${file##*/}" in
    *.sh) if [ -f "$file" ]; then files+=("$file"); fi ;;
    *.*) ;;
    *) if [ -f "$file" ] && head -n 1 "$file" | grep -q '^#!.*[/ ]bash\b'; then files+=("$file"); fi ;;
    esac
done
# -x follows the files they source (.shellcheckrc: from each script's folder).
if ! shellcheck -x "${files[@]}"; then
    echo "shellcheck finds the above in the shell scripts: fix them, or disable a false finding with a reason" >&2
    exit 1
fi
