#!/usr/bin/env bash
# Tries kuvela out without the real sites: serves the test suite's fakes on 127.0.0.1
# (the e-Arşiv portal with the accountants' portal and the buyer look-up, the interactive
# tax office site, an SMTP server) with one lasting state, and starts kuvela on the
# try-out's program folder (build/deneme, a copy of the demo folder build/demo, which the
# tests copy and so stays as built) pointed at them, with a visible Chromium window. Installs and builds first. The sites' accounts are those of the demo
# company "Çağdaş Gıda" (demo/portal-scenario.json, demo/tryout.json).
#
#   ./scripts/try-portal.sh           goes on with the month of the last try-out
#   ./scripts/try-portal.sh --reset   a clean month: the demo folder as built, the
#                                     portal holding only last month's invoices
set -euo pipefail
cd "$(dirname "$0")/.."
reset=0
for arg in "$@"; do
    case "$arg" in
        --reset) reset=1 ;;
        *) echo "Kullanım: $0 [--reset]" >&2; exit 2 ;;
    esac
done
./scripts/deps.sh
./scripts/build.sh
home="$PWD/build/deneme"
if [ "$reset" -eq 1 ]; then
    rm -rf "$home"
fi
if [ ! -d "$home" ]; then
    cp -a build/demo "$home"
fi

state="$home/Siteler"
mkdir -p "$state"
sites="$state/siteler.txt"
rm -f "$sites"
launcher=""
cleanup() {
    [ -n "$launcher" ] && kill "$launcher" 2>/dev/null || true
}
trap cleanup EXIT
/usr/bin/python3 tests/fakeportal/tryout.py --folder "$state" > "$sites" 2> "$state/siteler.log" &
launcher=$!
for _ in $(seq 200); do
    grep -q '^READY' "$sites" 2>/dev/null && break
    kill -0 "$launcher" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q '^READY' "$sites" 2>/dev/null; then
    echo "Sahte siteler başlatılamadı (ayrıntı: $state/siteler.log)." >&2
    exit 1
fi
while IFS= read -r line; do
    case "$line" in
        KUVELA_*=*) export "$line" ;;
    esac
done < "$sites"
echo "Sahte e-Arşiv portalı:          $KUVELA_PORTAL_URL"
echo "Sahte İnteraktif Vergi Dairesi: $KUVELA_TAXOFFICE_URL"
echo "Gönderilen e-postalar:          $(sed -n 's/^POSTA //p' "$sites")"

KUVELA_HOME="$home" KUVELA_HEADLESS=0 KUVELA_ONLINE=1 ./build/kuvela
