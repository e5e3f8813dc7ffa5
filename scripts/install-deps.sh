#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# Quiet and quick when everything is already there; needs root (or sudo) otherwise.
set -euo pipefail

PACCHETTI=(
    cmake g++ make
    # Qt 6: Widgets, Sql, PrintSupport, Test, moc/uic; the dev package pulls the GL and Vulkan
    # headers that Qt6Gui's CMake package looks for.
    qt6-base-dev libgl-dev
    # The QMYSQL driver plugin and the platform plugins (offscreen for headless runs).
    libqt6sql6-mysql qt6-qpa-plugins
    # The private database server the tests and the demo start, and the three-node Galera
    # cluster of the cluster suites (its state transfer is rsync).
    mariadb-server mariadb-client galera-4 rsync
    # The certificates of the TLS suite's servers (not on every base system).
    openssl
    # PDF pages to PNG for looking at printed letters; the fonts they are set in.
    poppler-utils fonts-dejavu-core
    # Qt's own texts in Italian (the buttons of message boxes and dialogs).
    qt6-translations-l10n
    # An operator's desktop for the tests: a virtual screen, a window manager, xprop to see it up.
    xvfb openbox x11-utils
    # The Debian packages: cpack's dependency lists (dpkg-shlibdeps, file), their check (lintian)
    # and the pkg-config file's test.
    dpkg-dev file lintian pkgconf
)

# Packages a caller needs besides these (the screenshot script's tools, say) come as arguments.
PACCHETTI+=("$@")

mancanti=()
for p in "${PACCHETTI[@]}"; do
    stato=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    if [[ "$stato" != "install ok installed" ]]; then
        mancanti+=("$p")
    fi
done

if ((${#mancanti[@]} == 0)); then
    exit 0
fi

echo "install-deps: installing ${mancanti[*]}"
come_root=()
if ((EUID != 0)); then
    if command -v sudo >/dev/null; then
        come_root=(sudo)
    else
        echo "install-deps: missing packages (${mancanti[*]}) and not running as root" >&2
        exit 1
    fi
fi

export DEBIAN_FRONTEND=noninteractive
"${come_root[@]}" apt-get update -qq
# The server package must not start the system-wide service: the scripts run private servers.
# policy-rc.d refuses service starts during this install only (when we created it).
policy=/usr/sbin/policy-rc.d
creata=0
if [[ ! -e $policy ]]; then
    printf '#!/bin/sh\nexit 101\n' | "${come_root[@]}" tee "$policy" >/dev/null
    "${come_root[@]}" chmod 755 "$policy"
    creata=1
fi
togli_policy() { if ((creata)); then "${come_root[@]}" rm -f "$policy"; fi; }
trap togli_policy EXIT
"${come_root[@]}" apt-get install -y -qq --no-install-recommends "${mancanti[@]}" >/dev/null
echo "install-deps: done"
