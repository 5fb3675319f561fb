#!/usr/bin/env bash
# The English catalog against the sources: lupdate run on a copy must find
# no text that the catalog lacks, none that the sources no longer have, and
# every entry must be translated.
#   scripts/check-catalog.sh            check (exit 1 with the differences)
#   scripts/check-catalog.sh --update   refresh i18n/km207_en.ts in place
#                                       (new texts come in untranslated)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
lupdate=$(command -v lupdate || true)
[[ -x /usr/lib/qt6/bin/lupdate ]] && lupdate=/usr/lib/qt6/bin/lupdate
[[ -n "$lupdate" ]] || { echo "check-catalog.sh: lupdate not found (qt6-l10n-tools)" >&2; exit 1; }
catalog=i18n/km207_en.ts
sources=(link shell functions cli)
run_lupdate() { # run_lupdate TS [extra options]
    local ts=$1
    shift
    "$lupdate" -silent -locations none -source-language cs_CZ -target-language en_US "$@" \
        "${sources[@]}" -ts "$ts"
}
if [[ "${1:-}" == --update ]]; then
    run_lupdate "$catalog" -no-obsolete
    exit 0
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$catalog" "$tmp/km207_en.ts"
run_lupdate "$tmp/km207_en.ts"
fails=0
if ! diff -u "$catalog" "$tmp/km207_en.ts" >"$tmp/diff"; then
    echo "the sources have texts the catalog lacks, or lost some it has:"
    grep -E '^[-+] ' "$tmp/diff" | grep -E 'source|vanished|obsolete' | head -40
    fails=1
fi
if grep -qE 'type="(unfinished|vanished|obsolete)"' "$catalog"; then
    echo "entries without a translation, or no longer in the sources:"
    grep -B2 -E 'type="(unfinished|vanished|obsolete)"' "$catalog" | grep '<source>' | head -40
    fails=1
fi
((fails == 0)) && echo "catalog: $(grep -c '<translation>' "$catalog") texts, all translated"
exit $fails
