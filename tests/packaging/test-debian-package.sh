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
for file in vantrel.crx chromium-updates.xml vantrel.xpi firefox-updates.json extension.json; do
    check "the extension's $file is in /usr/share/vantrel" has ./usr/share/vantrel/$file
done
check "the policy tool is beside the host" has ./usr/libexec/vantrel/vantrel-policies
check "the extension's settings live in /etc" has ./etc/vantrel/extension.cfg
check "no browser policy is a file of the package" bash -c "! grep -Eq 'policies/|managed-storage' '$scratch/contents'"

dpkg-deb -e "$package" "$scratch/control"
check "postinst and prerm are executable" test -x "$scratch/control/postinst" -a -x "$scratch/control/prerm"
check "postinst is valid sh" sh -n "$scratch/control/postinst"
check "prerm is valid sh" sh -n "$scratch/control/prerm"
check "postinst registers system-wide" grep -q -- 'vantrel-register" --system' "$scratch/control/postinst"
check "prerm unregisters system-wide" grep -q -- 'vantrel-register" --uninstall --system' "$scratch/control/prerm"
check "the configuration is a conffile" grep -qx /etc/vantrel/vantrel.cfg "$scratch/control/conffiles"
check "the extension's settings are a conffile" grep -qx /etc/vantrel/extension.cfg "$scratch/control/conffiles"
check "postinst applies the extension's policies" grep -q -- 'vantrel-policies" apply' "$scratch/control/postinst"
check "prerm removes them" grep -q -- 'vantrel-policies" remove' "$scratch/control/prerm"
check "postrm is valid sh" sh -n "$scratch/control/postrm"
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
mkdir -p "$own/root/usr/libexec/vantrel" "$own/root/usr/share/vantrel"
cp "$source_dir/tools/vantrel-register" "$source_dir/packaging/linux/vantrel-policies" "$build/vantrel" \
    "$own/root/usr/libexec/vantrel/"
cp "$build/extension-packages/extension.json" "$own/root/usr/share/vantrel/"
check "the postinst of a package for other extensions runs" \
    env DPKG_ROOT="$own/root" sh "$own/build/packaging/debian/postinst" configure
own_packaged_id=$(python3 "$source_dir/packaging/extension/pack-extension.py" id --key "$own/build/extension-signing-key.pem")
check "it registers the extensions of the build's options with Chromium, and its packaged one" \
    test "$(manifest_extensions "$own/root/etc/chromium/native-messaging-hosts/org.vantrel.host.json" 2>/dev/null)" = \
    "chrome-extension://$(printf 'a%.0s' {1..32})/ chrome-extension://$(printf 'b%.0s' {1..32})/ chrome-extension://$own_packaged_id/"
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
# An administrator's own Firefox policies: the package adds its entry and takes only that away.
mkdir -p "$root/etc/firefox-esr/policies"
echo '{"policies": {"DisableTelemetry": true, "ExtensionSettings": {"other@example.org": {"installation_mode": "blocked"}}}}' \
    >"$root/etc/firefox-esr/policies/policies.json"
json_value() {
    python3 -c 'import json,sys; v=json.load(open(sys.argv[1]))
for k in sys.argv[2:]: v=v[k]
print(json.dumps(v, sort_keys=True))' "$@" 2>/dev/null
}
policies=(
    etc/chromium/policies/managed/vantrel.json
    etc/opt/chrome/policies/managed/vantrel.json
)
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
packaged_id=$(python3 "$source_dir/packaging/extension/pack-extension.py" id --key "$build/extension-signing-key.pem")
check "the default package is for the development and the packaged extension" \
    test "$(manifest_extensions "$root/${manifests[0]}" 2>/dev/null) $(manifest_extensions "$root/${manifests[3]}" 2>/dev/null)" = \
    "chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/ chrome-extension://$packaged_id/ vantrel-sample@vantrel.org"
check "it writes no manifest the table does not name" \
    test "$(find "$root/etc" "$root/usr/lib/mozilla" -name org.vantrel.host.json | wc -l)" -eq ${#manifests[@]}
for policy in "${policies[@]}"; do
    check "postinst has /$policy force-install the packaged extension from its update manifest" \
        test "$(json_value "$root/$policy" ExtensionInstallForcelist)" = \
        "[\"$packaged_id;file:///usr/share/vantrel/chromium-updates.xml\"]"
    check "and hands it no setting while extension.cfg sets none" \
        test "$(json_value "$root/$policy" 3rdparty extensions "$packaged_id")" = "{}"
done
check "the update manifest names the package in /usr/share/vantrel" \
    grep -q "codebase='file:///usr/share/vantrel/vantrel.crx'" "$root/usr/share/vantrel/chromium-updates.xml"
firefox_addon='{"install_url": "file:///usr/share/vantrel/vantrel.xpi", "installation_mode": "force_installed"}'
for policy in etc/firefox/policies/policies.json etc/firefox-esr/policies/policies.json; do
    check "postinst has /$policy force-install the add-on from /usr/share/vantrel" \
        test "$(json_value "$root/$policy" policies ExtensionSettings vantrel-sample@vantrel.org)" = "$firefox_addon"
done
check "the administrator's Firefox policies stay beside it" \
    test "$(json_value "$root/etc/firefox-esr/policies/policies.json" policies DisableTelemetry) \
$(json_value "$root/etc/firefox-esr/policies/policies.json" policies ExtensionSettings other@example.org installation_mode)" = \
    'true "blocked"'
storage=usr/lib/mozilla/managed-storage/vantrel-sample@vantrel.org.json
check "Firefox's managed storage manifest is there, with no setting" test "$(json_value "$root/$storage" data)" = "{}"

# vantrel-register --check, run by a user of the machine: per profile, the
# extension is there (and how it came), or the fix.
user_home=/home/someone
profile="$root$user_home/.config/chromium/Default"
mkdir -p "$profile"
echo '{"extensions": {"settings": {}}}' >"$profile/Preferences"
HOME=$user_home python3 "$root/usr/libexec/vantrel/vantrel-register" --check --root "$root" --browser chromium \
    >"$scratch/check-without" 2>&1 || true
check "--check names the profile without the extension" grep -qxF \
    "  problem:       the Vantrel extension (dimbhkphloanhhcpkcakgkgdcooempmh, $packaged_id) is not installed in profile Default" \
    "$scratch/check-without"
check "and the policy that installs it when the browser starts again" grep -qxF \
    "    fix:         restart Chromium: the policy /etc/chromium/policies/managed/vantrel.json installs it when it starts" \
    "$scratch/check-without"
echo "{\"extensions\": {\"settings\": {\"$packaged_id\": {\"location\": 7, \"disable_reasons\": []}}}}" \
    >"$profile/Preferences"
HOME=$user_home python3 "$root/usr/libexec/vantrel/vantrel-register" --check --root "$root" --browser chromium \
    >"$scratch/check-with" 2>&1 || true
check "--check sees the extension the policy installed" grep -qxF \
    "  extension      profile Default: $packaged_id, installed by policy, enabled" "$scratch/check-with"
check "and no problem with it" bash -c "! grep -q 'extension.*not installed' '$scratch/check-with'"
rm -rf "${root:?}/home"

# The administrator's settings, applied again after editing.
cat >>"$root/etc/vantrel/extension.cfg" <<'SETTINGS'
allowedOrigins=https://sign.example.com https://portal.example.com:8443/
pinFromPage=false
requestTimeoutSeconds=30
SETTINGS
wanted_settings='{"allowedOrigins": ["https://sign.example.com", "https://portal.example.com:8443"], "pinFromPage": false, "requestTimeoutSeconds": 30}'
check "vantrel-policies apply takes up the edited settings" \
    python3 "$root/usr/libexec/vantrel/vantrel-policies" apply --quiet --root "$root"
check "Chromium gets them" test "$(json_value "$root/${policies[0]}" 3rdparty extensions "$packaged_id")" = "$wanted_settings"
check "Firefox gets them" test "$(json_value "$root/$storage" data)" = "$wanted_settings"
for bad in "pinFromPage=yes|line 4: pinFromPage: 'yes' is neither true nor false" \
    "allowedOrigins=http://sign.example.com|line 4: allowedOrigins: 'http://sign.example.com' is no HTTPS origin" \
    "loginIdleMinutes=0|line 4: loginIdleMinutes: '0' is not above 0" \
    "pinFromPages=true|line 4: 'pinFromPages' is no setting"; do
    printf '# a\n# b\n\n%s\n' "${bad%%|*}" >"$scratch/bad.cfg"
    mkdir -p "$scratch/bad-root/etc/vantrel" "$scratch/bad-root/usr/share/vantrel"
    cp "$scratch/bad.cfg" "$scratch/bad-root/etc/vantrel/extension.cfg"
    cp "$root/usr/share/vantrel/extension.json" "$scratch/bad-root/usr/share/vantrel/"
    check "a setting of \"${bad%%|*}\" is refused with its line" bash -c \
        "! python3 '$root/usr/libexec/vantrel/vantrel-policies' apply --root '$scratch/bad-root' 2>'$scratch/bad.err' &&
         grep -qF \"${bad#*|}\" '$scratch/bad.err' && test ! -e '$scratch/bad-root/etc/chromium'"
done

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
for policy in "${policies[@]}" "$storage"; do
    check "prerm removed /$policy" test ! -e "$root/$policy"
done
check "the Chromium policy folders it made are gone" test ! -e "$root/etc/chromium/policies/managed"
# Firefox keeps an add-on a policy installed once the policy is gone: until
# the purge, its entry has Firefox uninstall it.
for policy in etc/firefox/policies/policies.json etc/firefox-esr/policies/policies.json; do
    check "prerm left /$policy asking Firefox to uninstall the add-on" \
        test "$(json_value "$root/$policy" policies ExtensionSettings vantrel-sample@vantrel.org)" = \
        '{"installation_mode": "blocked"}'
done
check "the administrator's Firefox policies stay as they were" \
    test "$(json_value "$root/etc/firefox-esr/policies/policies.json" policies DisableTelemetry) \
$(json_value "$root/etc/firefox-esr/policies/policies.json" policies ExtensionSettings other@example.org installation_mode)" = \
    'true "blocked"'
check "the removal keeps the administrator's settings" grep -q '^pinFromPage=false$' "$root/etc/vantrel/extension.cfg"
check "and takes the extension's packages" test ! -e "$root/usr/share/vantrel"
check "dpkg purges the package" dpkg_in_root -P vantrel
check "the purge takes the configuration and the settings" test ! -e "$root/etc/vantrel"
check "and the Firefox entry, with the policy folder it made" test ! -e "$root/etc/firefox"
check "the administrator's Firefox policies are as they were" \
    test "$(json_value "$root/etc/firefox-esr/policies/policies.json")" = \
    '{"policies": {"DisableTelemetry": true, "ExtensionSettings": {"other@example.org": {"installation_mode": "blocked"}}}}'

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
