#!/usr/bin/env bash
# package_test.sh BUILD_FOLDER: the DEB, only inspected, holds the tree, its dependencies; no lintian error.
source "$(dirname "$0")/../e2e/e2e_lib.sh"
build=$1

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || fail "cpack: $(tail -3 "$work/cpack.log")"
deb=$(find "$work" -maxdepth 1 -name 'quorvex7_*.deb')
[ -n "$deb" ] || fail "no quorvex7_*.deb"
dpkg-deb -I "$deb" >"$work/info" || fail "dpkg-deb -I"
dpkg-deb -c "$deb" >"$work/contents" || fail "dpkg-deb -c"
id=io.github.quorvex7.Quorvex7
for file in bin/quorvex7 bin/quorvex7-window share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/man/man1/quorvex7.1.gz share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/scalable/apps/$id.svg \
    share/bash-completion/completions/quorvex7 share/doc/quorvex7/copyright share/doc/quorvex7/changelog.gz \
    lib/quorvex7/quorvex7-dbus.so; do
    grep -q " \./usr/$file\( \|$\)" "$work/contents" || fail "the package has no /usr/$file"
done
for dependency in libqt6gui6 libqt6widgets6 libxcb1 libxcb-shm0 libturbojpeg0 libpng16-16 libdbus-1-3 qt6-qpa-plugins \
    libisal2; do
    grep -q "^ Depends:.*\b$dependency\b" "$work/info" || fail "the package does not depend on $dependency"
done
grep -q '^ Version: 7\.1\.0' "$work/info" || fail "the package's version is not 7.1.0"
for entry in "$id:quorvex7" "$id.Window:quorvex7-window"; do
    dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/applications/${entry%%:*}.desktop" \
        | grep -qx "Exec=/usr/bin/${entry#*:}" || fail "the package's entry ${entry%%:*} does not name /usr/bin/${entry#*:}"
done
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || fail "lintian: $(grep '^E:' "$work/lintian.log")"
echo "package $(basename "$deb") complete; lintian: $(grep -c '^[EW]:' "$work/lintian.log") errors and warnings"
