#!/usr/bin/env bash
# Builds tavik against the bundled demo chat site, starts the site and then the program in a
# scratch working directory. The site stops when the program closes. Works from any directory.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"

port=18631
build="$root/build-demo"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DTAVIK_BUILD_BENCH=OFF \
    -DTAVIK_CHAT_PAGE_URL="http://127.0.0.1:$port/chat/index.html" \
    -DTAVIK_SMTP_RELAY="127.0.0.1:18625"
cmake --build "$build" --target tavik -j "$(nproc)"

scratch="$(mktemp -d -t tavik-demo.XXXXXX)"
python3 "$root/scripts/demo_chat_site.py" --port "$port" &
site=$!
trap 'kill "$site" 2>/dev/null || true' EXIT
# The first poll comes at start-up, so wait until the site answers.
for _ in $(seq 50); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then break; fi
    sleep 0.1
done
echo "tavik runs in $scratch"
cd "$scratch"
"$build/tavik"
