#!/usr/bin/env bash
# Tries kuvela out without the real portal: serves the fake e-Arşiv portal on 127.0.0.1
# and starts kuvela on the demo program folder (build/demo) pointed at it, with a
# visible Chromium window. Installs and builds first. The fake's user and taxpayer are
# those of the demo company "Çağdaş Gıda" (demo/portal-scenario.json).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh

work=$(mktemp -d)
server=""
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
/usr/bin/python3 tests/fakeportal/server.py --root tests/fakeportal --config demo/portal-scenario.json \
    --events "$work/events.jsonl" --port 0 > "$work/server.out" &
server=$!
for _ in $(seq 100); do
    grep -q '^PORT ' "$work/server.out" 2>/dev/null && break
    sleep 0.1
done
port=$(sed -n 's/^PORT //p' "$work/server.out")
if [ -z "$port" ]; then
    echo "Sahte e-Arşiv portalı başlatılamadı." >&2
    exit 1
fi
echo "Sahte e-Arşiv portalı: http://127.0.0.1:$port"

KUVELA_HOME="$PWD/build/demo" KUVELA_PORTAL_URL="http://127.0.0.1:$port" KUVELA_HEADLESS=0 KUVELA_ONLINE=1 \
    ./build/kuvela
