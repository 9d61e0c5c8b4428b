#!/bin/sh
# Links the browser driver into the folder the program keeps its driver in: the driver
# unpacked beside this script when there is one, else the system's chromedriver.
# The folder is KUVELA_DRIVER_FOLDER, else Kuvela-Nadrik under the user's data folder.
here=$(cd "$(dirname "$0")" && pwd) || exit 1
target=${KUVELA_DRIVER_FOLDER:-${XDG_DATA_HOME:-$HOME/.local/share}/Kuvela-Nadrik}

driver=
for candidate in "$here/chromedriver" "$here/chromedriver_linux64/chromedriver"; do
    if [ -f "$candidate" ] && [ -x "$candidate" ]; then
        driver=$candidate
        break
    fi
done
if [ -z "$driver" ]; then
    driver=${KUVELA_BROWSER_DRIVER:-$(command -v chromedriver || echo /usr/bin/chromedriver)}
fi
if [ ! -x "$driver" ]; then
    echo "Chrome sürücüsü bulunamadı: $driver" >&2
    exit 1
fi
mkdir -p "$target" || exit 1
ln -sfn "$driver" "$target/chromedriver"
