#!/usr/bin/env bash
# Installs the Debian packages BrenvoPOS needs and the font alias for its UI font.
# Usage: scripts/setup.sh [run|test]   (idempotent; quiet when everything is there)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

build_pkgs=(
    build-essential cmake pkg-config
    qtbase5-dev qtdeclarative5-dev qtmultimedia5-dev libqt5svg5-dev qtdeclarative5-dev-tools
    qml-module-qtquick-controls qml-module-qtquick-controls2 qml-module-qtquick-dialogs
    qml-module-qtquick-window2 qml-module-qtquick-layouts qml-module-qtgraphicaleffects
    qml-module-qtmultimedia libqt5multimedia5-plugins qml-module-qttest libqt5sql5-sqlite
    qttranslations5-l10n libjsoncpp-dev libzint-dev libqrencode-dev
    libcpp-httplib-dev libssl-dev libsqlite3-dev
    fonts-wqy-microhei fontconfig
)
run_pkgs=(xvfb xauth x11vnc x11-apps imagemagick cups printer-driver-cups-pdf curl)
test_pkgs=(xvfb xauth poppler-utils zbar-tools cups printer-driver-cups-pdf
    clang libfuzzer-14-dev libclang-rt-14-dev openssl imagemagick lintian x11-utils)

case "${1:-run}" in
    run) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}") ;;
    test) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}") ;;
    *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The screens and printouts ask for "微软雅黑"; on Linux that is WenQuanYi Micro Hei.
alias_conf="$here/resources/fonts/65-brenvo-msyh.conf"
if [ -f "$alias_conf" ] && ! cmp -s "$alias_conf" /etc/fonts/conf.d/65-brenvo-msyh.conf; then
    "${sudo_cmd[@]}" install -m 644 "$alias_conf" /etc/fonts/conf.d/65-brenvo-msyh.conf
    fc-cache >/dev/null 2>&1 || true
fi
