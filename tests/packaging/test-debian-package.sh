#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it: its files, its
# control scripts, and a real install, upgrade, removal and purge with dpkg in a
# root folder of its own (dpkg --root: the machine's own packages and browser
# folders are never touched).
# Usage: test-debian-package.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

source_dir=$(cd "$(dirname "$0")/../.." && pwd)

manifest_path() {
    python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["path"])' "$1"
}

# The extensions a manifest allows, one line: Chromium's origins or Firefox's IDs.
manifest_extensions() {
    python3 -c 'import json,sys; m=json.load(open(sys.argv[1])); print(" ".join(m.get("allowed_origins") or m.get("allowed_extensions")))' "$1"
}

failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what" >&2
        failures=$((failures + 1))
    fi
}

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || {
    cat "$scratch/cpack.log" >&2
    exit 1
}
package=$(echo "$scratch"/out/vantrel_*.deb)
check "cpack made one package" test -f "$package"

dpkg-deb -c "$package" | awk '{ print $6 $7 $8 }' >"$scratch/contents"
has() { grep -qxF -- "$1" "$scratch/contents"; }
check "the host is in /usr/libexec/vantrel" has ./usr/libexec/vantrel/vantrel
check "vantrel-client is beside it" has ./usr/libexec/vantrel/vantrel-client
check "vantrel-register is beside it" has ./usr/libexec/vantrel/vantrel-register
check "vantrel-client is linked into /usr/bin" has ./usr/bin/vantrel-client-\>../libexec/vantrel/vantrel-client
check "vantrel-register is linked into /usr/bin" has ./usr/bin/vantrel-register-\>../libexec/vantrel/vantrel-register
check "the configuration lives in /etc" has ./etc/vantrel/vantrel.cfg
check "the host reads it through a link" has ./usr/libexec/vantrel/vantrel.cfg-\>/etc/vantrel/vantrel.cfg
check "no manifest is a file of the package" bash -c "! grep -q native-messaging-hosts '$scratch/contents'"

dpkg-deb -e "$package" "$scratch/control"
check "postinst and prerm are executable" test -x "$scratch/control/postinst" -a -x "$scratch/control/prerm"
check "postinst is valid sh" sh -n "$scratch/control/postinst"
check "prerm is valid sh" sh -n "$scratch/control/prerm"
check "postinst registers system-wide" grep -q -- 'vantrel-register" --system' "$scratch/control/postinst"
check "prerm unregisters system-wide" grep -q -- 'vantrel-register" --uninstall --system' "$scratch/control/prerm"
check "the configuration is a conffile" grep -qx /etc/vantrel/vantrel.cfg "$scratch/control/conffiles"
check "the package depends on python3" grep -Eq '^Depends:.*\bpython3\b' "$scratch/control/control"
check "the package depends on the C++ runtime" grep -Eq '^Depends:.*\blibstdc\+\+6\b' "$scratch/control/control"
check "the package depends on p11-kit's proxy module" grep -Eq '^Depends:.*\bp11-kit-modules\b' "$scratch/control/control"
check "the package depends on OpenSSL's libcrypto" grep -Eq '^Depends:.*\blibssl3\b' "$scratch/control/control"
check "the package recommends OpenSC and pcscd for smart cards" \
    grep -Eq '^Recommends: opensc-pkcs11, pcscd$' "$scratch/control/control"

# Out of the box the host loads p11-kit's proxy, which reaches every module
# registered on this machine: it answers listTokens instead of failing to
# load a module nobody installed.
dpkg-deb -x "$package" "$scratch/files"
check "the configuration names p11-kit's proxy module" \
    grep -Eqx 'pkcs11Library=/.*/p11-kit-proxy\.so' "$scratch/files/etc/vantrel/vantrel.cfg"
mkdir "$scratch/try"
cp "$scratch/files/usr/libexec/vantrel/vantrel" "$scratch/files/usr/libexec/vantrel/vantrel-client" \
    "$scratch/files/etc/vantrel/vantrel.cfg" "$scratch/try/"
env -u SOFTHSM2_CONF "$scratch/try/vantrel-client" '{"action":"info"}' '{"action":"listTokens"}' \
    >"$scratch/try/replies" 2>"$scratch/try/errors" || true
check "the packaged host loads the proxy module" \
    grep -q '^{"action":"info","driver":"p11-kit-proxy.so",' "$scratch/try/replies"
check "the packaged host lists the machine's tokens through it" \
    grep -q '^{"action":"listTokens","tokens":\[' "$scratch/try/replies"

# A plain cmake --install into a staging root: files, links and registration.
stage=$scratch/stage
DESTDIR=$stage cmake --install "$build" --prefix /opt/vantrel >"$scratch/install.log" 2>&1 ||
    cat "$scratch/install.log" >&2
check "cmake --install registers the host it installed" \
    test "$(manifest_path "$stage/etc/chromium/native-messaging-hosts/org.vantrel.host.json" 2>/dev/null)" = \
    /opt/vantrel/libexec/vantrel/vantrel
check "vantrel-client from bin starts the host beside its real file" \
    grep -q '"host":"1.4"' <(env -u SOFTHSM2_CONF "$stage/opt/vantrel/bin/vantrel-client" '{"action":"info"}' 2>/dev/null)

# A package for one's own extensions: CMake options name them, and its
# postinst registers them instead of the sample extension.
own=$scratch/own-extension
own_origins="chrome-extension://$(printf 'a%.0s' {1..32})/;chrome-extension://$(printf 'b%.0s' {1..32})/"
cmake -S "$source_dir" -B "$own/build" -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCHMARKS=OFF \
    -DVANTREL_EXTENSION_ORIGINS="$own_origins" -DVANTREL_FIREFOX_EXTENSION_IDS="signer@example.org" \
    >"$scratch/own-configure.log" 2>&1 || cat "$scratch/own-configure.log" >&2
mkdir -p "$own/root/usr/libexec/vantrel"
cp "$source_dir/tools/vantrel-register" "$build/vantrel" "$own/root/usr/libexec/vantrel/"
check "the postinst of a package for other extensions runs" \
    env DPKG_ROOT="$own/root" sh "$own/build/packaging/debian/postinst" configure
check "it registers the extensions of the build's options with Chromium" \
    test "$(manifest_extensions "$own/root/etc/chromium/native-messaging-hosts/org.vantrel.host.json" 2>/dev/null)" = \
    "chrome-extension://$(printf 'a%.0s' {1..32})/ chrome-extension://$(printf 'b%.0s' {1..32})/"
check "and with Firefox" \
    test "$(manifest_extensions "$own/root/usr/lib/mozilla/native-messaging-hosts/org.vantrel.host.json" 2>/dev/null)" = \
    signer@example.org
check "a malformed extension origin stops the configuration" bash -c \
    "! cmake -S '$source_dir' -B '$own/bad' -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCHMARKS=OFF \
        -DVANTREL_EXTENSION_ORIGINS=\"https://example.org/';touch '$own/pwned\" >/dev/null 2>&1"
check "and nothing of it ran" test ! -e "$own/pwned"

if [ "$(id -u)" -ne 0 ]; then
    echo "not root: the dpkg install checks are left out"
    [ "$failures" -eq 0 ] || exit 1
    exit 0
fi

root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers" "$root/var/log"
touch "$root/var/lib/dpkg/status"
# A browser that is there before the package: its folder must outlive the removal.
mkdir -p "$root/etc/chromium/policies"
dpkg_in_root() {
    dpkg --root="$root" --force-script-chrootless --force-depends "$@" >>"$scratch/dpkg.log" 2>&1
}
# Brave and Vivaldi read Chromium's system-wide folder.
manifests=(
    etc/chromium/native-messaging-hosts/org.vantrel.host.json
    etc/opt/chrome/native-messaging-hosts/org.vantrel.host.json
    etc/opt/edge/native-messaging-hosts/org.vantrel.host.json
    usr/lib/mozilla/native-messaging-hosts/org.vantrel.host.json
)

check "dpkg installs the package" dpkg_in_root -i "$package"
for manifest in "${manifests[@]}"; do
    check "postinst wrote /$manifest naming the installed host" \
        test "$(manifest_path "$root/$manifest" 2>/dev/null)" = /usr/libexec/vantrel/vantrel
done
check "the default package is for the sample extension" \
    test "$(manifest_extensions "$root/${manifests[0]}" 2>/dev/null) $(manifest_extensions "$root/${manifests[3]}" 2>/dev/null)" = \
    "chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/ vantrel-sample@vantrel.org"
check "it writes no manifest the table does not name" \
    test "$(find "$root/etc" "$root/usr/lib/mozilla" -name org.vantrel.host.json | wc -l)" -eq ${#manifests[@]}

check "dpkg upgrades the package over itself" dpkg_in_root -i "$package"
for manifest in "${manifests[@]}"; do
    check "/$manifest is still there after the upgrade" test -f "$root/$manifest"
done

check "dpkg removes the package" dpkg_in_root -r vantrel
for manifest in "${manifests[@]}"; do
    check "prerm removed /$manifest" test ! -e "$root/$manifest"
done
check "the folders the registration made are gone" test ! -e "$root/etc/opt" -a ! -e "$root/usr/lib/mozilla"
check "the browser's own folder stays" test -d "$root/etc/chromium/policies"
check "dpkg purges the package" dpkg_in_root -P vantrel
check "the purge takes the configuration" test ! -e "$root/etc/vantrel"

# A manifest of the same name that is not ours never blocks a removal.
check "dpkg installs the package again" dpkg_in_root -i "$package"
echo '{"name":"someone.else"}' >"$root/${manifests[0]}"
check "dpkg removes the package beside a foreign manifest" dpkg_in_root -r vantrel
check "the foreign manifest stays" grep -q someone.else "$root/${manifests[0]}"
check "the other manifests are gone" test ! -e "$root/${manifests[1]}" -a ! -e "$root/${manifests[2]}" \
    -a ! -e "$root/${manifests[3]}"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; dpkg said:" >&2
    cat "$scratch/dpkg.log" >&2
    exit 1
fi
echo "the Debian package is sound"
