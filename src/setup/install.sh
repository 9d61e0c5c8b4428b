#!/bin/sh
# Puts the browser driver into the folder the program keeps its driver in. A driver
# unpacked beside this script is copied there, and only when its major is the
# browser's: this folder may be removed once the setup is done. Otherwise the system's
# chromedriver is linked, so that its package updates reach the program.
# The folder is KUVELA_DRIVER_FOLDER, else Kuvela-Nadrik under the user's data folder.
here=$(cd "$(dirname "$0")" && pwd) || exit 1
target=${KUVELA_DRIVER_FOLDER:-${XDG_DATA_HOME:-$HOME/.local/share}/Kuvela-Nadrik}

# The first dotted version a program prints with --version, "" when it prints none.
version_of() {
    "$1" --version 2>/dev/null | sed -n 's/^[^0-9]*\([0-9][0-9]*\(\.[0-9][0-9]*\)\{1,\}\).*$/\1/p' | head -n 1
}

# The major as the program compares it: the first three characters.
major_of() {
    printf '%s' "$1" | cut -c1-3
}

browser=$KUVELA_BROWSER_BINARY
if [ -z "$browser" ]; then
    for name in chromium chromium-browser google-chrome; do
        browser=$(command -v "$name") && break
        browser=
    done
fi
browser_major=
if [ -n "$browser" ]; then
    browser_major=$(major_of "$(version_of "$browser")")
fi

beside=
if [ -n "$browser_major" ]; then
    for candidate in "$here/chromedriver" "$here/chromedriver_linux64/chromedriver"; do
        if [ -f "$candidate" ] && [ -x "$candidate" ] \
            && [ "$(major_of "$(version_of "$candidate")")" = "$browser_major" ]; then
            beside=$candidate
            break
        fi
    done
fi

mkdir -p "$target" || exit 1
if [ -n "$beside" ]; then
    # Beside the old one and renamed over it: a link there is replaced, never followed.
    cp "$beside" "$target/chromedriver.yeni" && chmod 755 "$target/chromedriver.yeni" \
        && mv -f "$target/chromedriver.yeni" "$target/chromedriver" || {
        rm -f "$target/chromedriver.yeni"
        echo "Chrome sürücüsü kopyalanamadı: $target/chromedriver" >&2
        exit 1
    }
    exit 0
fi

driver=${KUVELA_BROWSER_DRIVER:-$(command -v chromedriver || echo /usr/bin/chromedriver)}
if [ ! -x "$driver" ]; then
    echo "Chrome sürücüsü bulunamadı: $driver" >&2
    exit 1
fi
ln -sfn "$driver" "$target/chromedriver"
