#!/usr/bin/env bash
# Builds the packages users install. Installs what is missing first.
#   scripts/package.sh deb    build/deb/neloclock_<version>_amd64.deb, checked:
#                             its contents, no build-tree RPATH, the desktop
#                             entry, the AppStream data and lintian
set -euo pipefail
cd "$(dirname "$0")/.."

deb() {
    local build=build/deb
    scripts/deps.sh package
    # Debian's own compiler and linker flags, with every hardening option.
    local cxxflags ldflags
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
    ldflags=$(dpkg-buildflags --get LDFLAGS)
    nice -n 10 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DNELOCLOCK_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS="$cxxflags" \
        -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags"
    nice -n 10 cmake --build "$build"
    rm -f "$build"/neloclock_*.deb
    (cd "$build" && cpack -G DEB)
    local version package
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
    package="$build/neloclock_${version}_$(dpkg --print-architecture).deb"

    local id=io.github.neloclock.NeloClock contents
    contents=$(dpkg-deb --contents "$package" | awk '{print $NF}')
    for path in ./usr/bin/NeloClock "./usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/neloclock/libneloclock_webview.so" \
        ./usr/share/neloclock/alarm.wav ./usr/share/applications/$id.desktop \
        ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/$id.svg \
        ./usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$id.png \
        ./usr/share/doc/neloclock/copyright ./usr/share/doc/neloclock/changelog.gz; do
        grep -qxF "$path" <<<"$contents" || { echo "missing from the package: $path" >&2; exit 1; }
    done
    if grep -v '^\./usr/' <<<"$contents" | grep -vx '\./'; then
        echo "the package holds files outside /usr (above)" >&2
        exit 1
    fi

    tree=$(mktemp -d)
    trap 'rm -rf "$tree"' EXIT
    dpkg-deb -x "$package" "$tree"
    while read -r elf; do
        if readelf -d "$elf" | grep -E '\((RPATH|RUNPATH)\)' | grep -F "$PWD"; then
            echo "$elf: a library path into the build tree (above)" >&2
            exit 1
        fi
        if strings "$elf" | grep -F "$PWD/build"; then
            echo "$elf: names the build folder (above)" >&2
            exit 1
        fi
    done < <(find "$tree" -type f -exec sh -c 'file -b "$1" | grep -q "^ELF"' _ {} \; -print)
    desktop-file-validate "$tree/usr/share/applications/$id.desktop"
    appstreamcli validate --no-net --explain "$tree/usr/share/metainfo/$id.metainfo.xml"
    # Errors fail the build; warnings and notes are shown.
    lintian --fail-on error --display-info "$package"
    echo "built $package ($(du -k "$package" | cut -f1) KiB)"
}

case "${1:-}" in
    deb) deb ;;
    *)
        echo "usage: $0 deb" >&2
        exit 2
        ;;
esac
