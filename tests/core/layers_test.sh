#!/usr/bin/env bash
# The core's folders rest only on those listed before them, its includes name
# the folder, and no two of its files include each other.
set -euo pipefail
cd "$1/core"
order=(platform model convert code formats session)
rank() { local i; for i in "${!order[@]}"; do [ "${order[$i]}" = "$1" ] && echo "$i" && return; done; echo 99; }
faults=0
while IFS= read -r file; do
    folder=${file%%/*}
    while IFS= read -r included; do
        case $included in
        core/*/*) ;;
        *) echo "$file includes \"$included\", which does not name its folder in core/."; faults=1; continue ;;
        esac
        other=${included#core/}; other=${other%%/*}
        if [ "$(rank "$other")" -gt "$(rank "$folder")" ]; then
            echo "$file, in $folder/, includes $included, from $other/, which stands above it."; faults=1
        fi
        mine="core/${file%.*}.h"
        partner="${included#core/}"; partner="${partner%.h}.cpp"
        if [ "$included" != "$mine" ] && [ -f "$partner" ] && grep -q "^#include \"$mine\"" "$partner"; then
            echo "$file and $partner include each other's headers."; faults=1
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | grep /)
[ "$faults" = 0 ] && echo "The core's layers hold."
exit "$faults"
