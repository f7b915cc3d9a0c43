#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a folder above its own. The layers, lowest
# first: common, platform, core, book, then music and menu (side by side: neither includes the
# other), then app.
set -euo pipefail
cd "$(dirname "$0")/../src"

rank() {
    case $1 in
        common) echo 0 ;; platform) echo 1 ;; core) echo 2 ;; book) echo 3 ;;
        music | menu) echo 4 ;; app) echo 5 ;; *) echo 99 ;;
    esac
}

status=0
while IFS=: read -r file line text; do
    from=${file%%/*}
    to=$(sed -E 's/^#include "([^/"]+)\/.*/\1/' <<<"$text")
    if [[ $to == "$from" ]]; then
        continue
    fi
    if (($(rank "$to") >= $(rank "$from"))); then
        echo "src/$file:$line: $from/ may not include $to/: $text"
        status=1
    fi
done < <(grep -rnE '^#include "[a-z_]+/' --include='*.h' --include='*.cpp' .  | sed 's|^\./||')
exit $status
