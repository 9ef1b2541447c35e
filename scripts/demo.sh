#!/usr/bin/env bash
# Vantrel's main job on a token of its own: builds the host, makes a SoftHSM2
# token in demo/ (its own SOFTHSM2_CONF: a real token plugged into the machine
# is never touched), writes the host's configuration beside the binary and runs
# a narrated session through vantrel-client, the way a web page would.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
echo "== Building the host"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target vantrel vantrel-client >/dev/null

demo=$root/demo
rm -rf "$demo"
mkdir -p "$demo/tokens" "$demo/logs" "$demo/ca"
cat >"$demo/softhsm2.conf" <<EOF
directories.tokendir = $demo/tokens
objectstore.backend = file
log.level = ERROR
EOF
export SOFTHSM2_CONF=$demo/softhsm2.conf
user_pin=123456
new_pin=654321
softhsm2-util --init-token --free --label "Vantrel demo" --so-pin 87654321 --pin "$user_pin" >/dev/null
cat >build/vantrel.cfg <<EOF
pkcs11Library=/usr/lib/softhsm/libsofthsm2.so
logDir=$demo/logs
maxLogFiles=50
EOF
echo "   demo token made in $demo/tokens; configuration written to build/vantrel.cfg"

json_get() { python3 -c 'import json,sys; v=json.loads(sys.argv[1]); exec("r=v"+sys.argv[2]); print(r)' "$1" "$2"; }

coproc CLIENT { build/vantrel-client --echo 2>>"$demo/host-stderr.txt"; }
reply=""
# send NARRATION REQUEST: shows the request (PINs masked) and the reply.
send() {
    echo
    echo "== $1"
    echo "$2" >&"${CLIENT[1]}"
    local echoed
    IFS= read -r echoed <&"${CLIENT[0]}"
    IFS= read -r reply <&"${CLIENT[0]}"
    reply=${reply#< }
    echo "   request: $(shorten "${echoed#> }")"
    echo "   reply:   $(shorten "$reply")"
}
shorten() {
    if [ ${#1} -gt 240 ]; then
        echo "${1:0:240}..."
    else
        echo "$1"
    fi
}

send "What the host is and whether a token is logged in" '{"action":"info","port":"demo"}'
send "The tokens the host can see (SoftHSM2 also shows one blank slot)" '{"action":"listTokens"}'
token_sn=$(json_get "$reply" '[next(t for t in v["tokens"] if t["tokenLabel"]=="Vantrel demo")]["tokenSN"][0]' 2>/dev/null ||
    json_get "$reply" '["tokens"][0]["tokenSN"]')
send "Log in to the demo token in write mode" "{\"action\":\"login\",\"tokenSN\":\"$token_sn\",\"pin\":\"$user_pin\",\"mode\":\"write\"}"
send "Generate an RSA-2048 key pair on the token with a certification request" \
    "{\"action\":\"generateKeys\",\"tokenSN\":\"$token_sn\",\"result\":\"csr\"}"
json_get "$reply" '["csr"]' | base64 -d >"$demo/ca/request.der"

echo
echo "== A demo certification authority (openssl) issues the certificate"
openssl req -in "$demo/ca/request.der" -inform DER -verify -noout -subject 2>&1 | sed 's/^/   /'
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$demo/ca/ca.key" -out "$demo/ca/ca.pem" \
    -subj "/CN=Vantrel Demo CA" -days 30 2>/dev/null
openssl req -in "$demo/ca/request.der" -inform DER -out "$demo/ca/request.pem"
openssl x509 -req -in "$demo/ca/request.pem" -CA "$demo/ca/ca.pem" -CAkey "$demo/ca/ca.key" \
    -set_serial 0x5A17C0DE42 -days 365 -out "$demo/ca/user.pem" 2>/dev/null
openssl x509 -in "$demo/ca/user.pem" -noout -serial -subject -issuer | sed 's/^/   /'
certificate=$(openssl x509 -in "$demo/ca/user.pem" -outform DER | base64 -w0)

send "Store the issued certificate beside its key pair" "{\"action\":\"importCertificate\",\"certificate\":\"$certificate\"}"
send "List the certificates of the demo token" "{\"action\":\"listCertificates\",\"tokenSN\":\"$token_sn\"}"
serial=$(json_get "$reply" '["certificates"][0]["serialNumber"]')
# A request names a certificate by its whole DER INTEGER: tag 02, the length byte, the listed serial.
certificate_sn=$(printf '02%02x%s' $((${#serial} / 2)) "$serial")
payload="Hello from the Vantrel demo"
send "Sign a text with the certificate's private key (on the token)" \
    "{\"action\":\"sign\",\"certificateSN\":\"$certificate_sn\",\"payload\":\"$payload\"}"
json_get "$reply" '["signature"]' | base64 -d >"$demo/signature.bin"
printf '%s' "$payload" >"$demo/payload.txt"
openssl x509 -in "$demo/ca/user.pem" -pubkey -noout >"$demo/ca/user-public.pem"
echo
echo "== Independent check of the signature with openssl"
openssl dgst -sha256 -verify "$demo/ca/user-public.pem" -signature "$demo/signature.bin" "$demo/payload.txt" |
    sed 's/^/   /'
send "Keys that no certificate claims (none: the pair now has its certificate)" \
    "{\"action\":\"getOrphanKeys\",\"tokenSN\":\"$token_sn\",\"keyType\":\"private\"}"
send "Change the user PIN (this ends the login)" \
    "{\"action\":\"changePIN\",\"tokenSN\":\"$token_sn\",\"oldPIN\":\"$user_pin\",\"newPIN\":\"$new_pin\"}"
send "Info again: logged out" '{"action":"info"}'

client_pid=$CLIENT_PID
client_input=${CLIENT[1]}
exec {client_input}>&-
wait "$client_pid"
echo
echo "== Done. One log file per exchange, PINs masked, in $demo/logs:"
ls "$demo/logs" | tail -3 | sed 's/^/   /'
if grep -rq -e "$user_pin" -e "$new_pin" "$demo/logs"; then
    echo "   a PIN reached the log files!" >&2
    exit 1
fi
echo "   no PIN appears in them."
