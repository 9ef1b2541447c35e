#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/.

The seeds are the test fixtures' certificates and the sample requests of every
action. Findings are added to the same folders under names of their own and
are never rewritten by this script.
"""
import base64
import glob
import os
import sys

ROOT = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(ROOT, "corpus")
DER_FIXTURES = os.path.join(ROOT, "..", "tests", "der", "data")

sys.path.insert(0, os.path.join(ROOT, "..", "tools"))
import native_messaging  # noqa: E402

REQUESTS = [
    '{"action":"info","port":"p1"}',
    '{ "action" : "info" ,\n "port" : "p 1" }',
    '{"action":"listTokens"}',
    '{"action":"listCertificates"}',
    '{"action":"listCertificates","tokenSN":""}',
    '{"action":"getCertificate","certificateSN":"020101"}',
    '{"action":"login","tokenSN":"1","pin":"123456","mode":"write"}',
    '{"action":"login","tokenSN":"1","pin":"12\\"34\\\\","mode":"read","port":"\\u00e9"}',
    '{"action":"selectCertificate","forceLogon":true}',
    '{"action":"sign","certificateSN":"0a","payload":"hello \\u0000 world"}',
    '{"action":"sign","certificateSN":"0a","payload":{"a":"b","n":1.5e3,"l":[null,true,false]}}',
    '{"action":"deleteCertificate","certificateSN":"0203010001"}',
    '{"action":"deleteOrphanKeys","tokenSN":"1","keyType":"public"}',
    '{"action":"getOrphanKeys","tokenSN":"1","keyType":"private"}',
    '{"action":"formatToken","tokenSN":"","tokenPIN":"1111","adminPIN":"2222"}',
    '{"action":"changePIN","tokenSN":"1","oldPIN":"123456","newPIN":"654321"}',
    '{"action":"generateKeys","tokenSN":"1","result":"csr"}',
    '{"action":"importCertificate","certificate":"MIIB"}',
    '{"action":"info","port":"\\ud83d\\ude00\\ud800"}',
    '{"action":"Sign"}',
    '{"action":5}',
    '[1]',
    '{"action":"info","p\\u0069n":"x","pin":7}',
]


def frame(text):
    return native_messaging.frame(text.encode("utf-8"))


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    ders = sorted(glob.glob(os.path.join(DER_FIXTURES, "*.der")))
    for path in ders:
        name = os.path.splitext(os.path.basename(path))[0]
        with open(path, "rb") as f:
            der = f.read()
        write("der", "seed-" + name, der)
        write("encoding", "seed-base64-" + name, base64.b64encode(der))
        write("encoding", "seed-hex-" + name, der[:32].hex().encode())

    for i, request in enumerate(REQUESTS):
        write("pipeline", "seed-request-%02d" % i, frame(request))
    write("pipeline", "seed-all-requests", b"".join(frame(r) for r in REQUESTS[:19]))
    with open(ders[0], "rb") as f:
        certificate = base64.b64encode(f.read()).decode()
    write("pipeline", "seed-import",
          frame('{"action":"importCertificate","certificate":"%s"}' % certificate))
    write("pipeline", "seed-nesting", frame('{"action":"info","x":' + "[" * 40 + "]" * 40 + "}"))

    write("framing", "seed-empty-frame", frame(""))
    write("framing", "seed-two-frames", frame(REQUESTS[0]) + frame(REQUESTS[6]))
    write("framing", "seed-cut-body", frame(REQUESTS[0])[:-5])
    write("framing", "seed-cut-prefix", b"\x1d\x00")
    write("framing", "seed-longest-prefix", b"\xff\xff\xff\xff{}")
    write("framing", "seed-large-prefix", b"\x00\x00\x01\x00" + b"x" * 100)
    write("encoding", "seed-hex-upper", b"0A1b2C3d")
    write("encoding", "seed-base64-fill", b"QQ==QUJD")


if __name__ == "__main__":
    main()
