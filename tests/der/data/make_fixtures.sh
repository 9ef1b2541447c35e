#!/usr/bin/env bash
# Makes the certificates that the DER tests read. The outputs are committed;
# run this only to change them (keys and signatures differ on every run, so
# the tests never depend on those bytes).
#
# Every certificate is issued by one throw-away CA. Dates are fixed with
# `openssl ca -startdate/-enddate`. `ca` writes version 1 whenever there are
# no extensions, so the version 3 certificate without extensions is re-issued
# from one that had some, with `x509 -clrext`.
set -euo pipefail

out="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

cat > openssl.cnf <<'CNF'
[ca]
default_ca = test_ca

[test_ca]
database = ./index.txt
new_certs_dir = .
serial = ./serial
default_md = sha256
policy = policy_any
unique_subject = no

[policy_any]
C = optional
ST = optional
L = optional
O = optional
OU = optional
CN = optional
DC = optional
emailAddress = optional

[req]
distinguished_name = req_dn
prompt = no
# PrintableString where the text allows it, else BMPString, else UTF8String.
string_mask = default
utf8 = yes

[req_dn]
CN = unused

[ca_ext]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign

[san_rfc822]
subjectAltName = email:alice@example.test
# No key identifiers: the subjectAltName must be the only extension here.
subjectKeyIdentifier = none
authorityKeyIdentifier = none

[san_upn]
basicConstraints = CA:false
keyUsage = critical, digitalSignature
subjectAltName = critical, otherName:1.3.6.1.4.1.311.20.2.3;UTF8:alice.upn@example.test
extendedKeyUsage = clientAuth
subjectKeyIdentifier = none
authorityKeyIdentifier = none

[user_ext]
keyUsage = critical, digitalSignature
CNF
touch index.txt

openssl req -config openssl.cnf -new -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem \
    -days 36500 -extensions ca_ext \
    -subj "/DC=example/O=Vantrel Test/CN=Vantrel Test CA/emailAddress=ca@example.test" 2>/dev/null

# issue NAME SERIAL SUBJECT START END [EXTENSIONS]
issue() {
    local name=$1 serial=$2 subject=$3 start=$4 end=$5 extensions=${6:-}
    openssl req -config openssl.cnf -new -newkey rsa:2048 -nodes -keyout "$name.key" \
        -out "$name.csr" -subj "$subject" 2>/dev/null
    echo "$serial" > serial
    # -preserveDN keeps the subject's order and string types as the request has them.
    openssl ca -config openssl.cnf -batch -notext -preserveDN -cert ca.pem -keyfile ca.key \
        -in "$name.csr" -out "$name.pem" -startdate "$start" -enddate "$end" \
        ${extensions:+-extensions "$extensions"} 2>/dev/null
    openssl x509 -in "$name.pem" -outform DER -out "$out/$name.der"
}

issue v1 8A0102030405060708 "/O=JUX/CN=Version One" 20240101000000Z 20340101000000Z
issue san_rfc822 1002 "/O=JUX/CN=Mail Only" 20240102030405Z 20340102030405Z san_rfc822
issue san_upn 1003 "/O=JUX/CN=Principal Holder" 20240101000000Z 20340101000000Z san_upn
issue bmp_cn 1004 "/CN=Ωmega/O=JUX" 20240101000000Z 20340101000000Z user_ext
issue generalized_time 1005 "/O=JUX/CN=Far Future" 20500101000000Z 20991231235959Z user_ext

# Version 3 without extensions: a self-signed certificate with extensions, then
# re-issued by the CA without them (dates and subject kept).
openssl req -config openssl.cnf -new -newkey rsa:2048 -nodes -keyout v3.key -out v3.csr \
    -subj "/C=ZZ/ST=VKT/L=Tervin/O=JUX/OU=KW/CN=Pre-enrolled QARN User" 2>/dev/null
echo 01 > serial
openssl ca -config openssl.cnf -batch -notext -preserveDN -selfsign -keyfile v3.key -in v3.csr \
    -out v3_self.pem \
    -startdate 20240101000000Z -enddate 20340101000000Z -extensions user_ext 2>/dev/null
openssl x509 -in v3_self.pem -CA ca.pem -CAkey ca.key -preserve_dates -clrext -set_serial 0x1006 \
    -outform DER -out "$out/v3_no_extensions.der" 2>/dev/null

# The subjectAltName OID followed by a PrintableString instead of the OCTET
# STRING: the tag octet of the extension value is changed, nothing else.
perl -0777 -pe 's/\x06\x03\x55\x1d\x11\x04/\x06\x03\x55\x1d\x11\x13/ or die "no subjectAltName"' \
    "$out/san_rfc822.der" > "$out/san_oid_without_octet_string.der"
