#!/usr/bin/env python3
"""Packs the extension for the browsers that install it by policy.

Chromium takes a CRX3 file: a header "Cr24", format version 3, the length of
a protobuf CrxFileHeader, that header and a ZIP archive of the extension. The
header carries the RSA public key, its SHA-256 signature over the signed
header data (the extension's ID as 16 bytes) and the archive, and that
signed data. The extension's ID is the first 16 bytes of SHA-256 of the
public key (its DER SubjectPublicKeyInfo), written as 32 letters a-p; so the
packed manifest's "key" is the signing key's public key, whatever the
development manifest says.

Firefox takes an XPI: the ZIP archive alone, its add-on ID in the manifest.

Each comes with the update manifest through which the browser learns the
version and where the package lies: Chromium's update XML, Firefox's update
JSON. The version is the one given (the build's project version), written
into both packed manifests.

RSA signing is openssl's (the command line tool), everything else Python's.

  pack-extension.py id --key KEY.pem
  pack-extension.py key --key KEY.pem     (makes the key when there is none)
  pack-extension.py pack --source DIR --key KEY.pem --version 1.4 --out DIR
      --chromium-base-url URL --firefox-base-url URL
"""

import argparse
import base64
import hashlib
import io
import json
import os
import stat
import struct
import subprocess
import sys
import tempfile
import zipfile

CRX_MAGIC = b"Cr24"
CRX_VERSION = 3
SIGNATURE_CONTEXT = b"CRX3 SignedData\x00"
# CrxFileHeader: sha256_with_rsa = 2, signed_header_data = 10000;
# AsymmetricKeyProof: public_key = 1, signature = 2; SignedData: crx_id = 1.
HEADER_RSA_PROOF, HEADER_SIGNED_DATA = 2, 10000
PROOF_PUBLIC_KEY, PROOF_SIGNATURE = 1, 2
SIGNED_DATA_CRX_ID = 1
WIRE_LENGTH_DELIMITED = 2

# Archive entries carry this time, so that the same sources give the same bytes.
ZIP_TIME = (2020, 1, 1, 0, 0, 0)

# What the packages are called in the output folder.
CRX_NAME = "vantrel.crx"
CHROMIUM_UPDATES = "chromium-updates.xml"
XPI_NAME = "vantrel.xpi"
FIREFOX_UPDATES = "firefox-updates.json"
DESCRIPTION = "extension.json"


class PackError(Exception):
    pass


def varint(value):
    out = bytearray()
    while True:
        byte = value & 0x7F
        value >>= 7
        if value:
            out.append(byte | 0x80)
        else:
            out.append(byte)
            return bytes(out)


def field(number, payload):
    """One length-delimited protobuf field."""
    return varint(number << 3 | WIRE_LENGTH_DELIMITED) + varint(len(payload)) + payload


def openssl(*arguments, data=None):
    try:
        result = subprocess.run(["openssl", *arguments], input=data, capture_output=True, check=False)
    except FileNotFoundError:
        raise PackError("openssl is needed to sign the Chromium package; install it (apt install openssl)")
    if result.returncode != 0:
        raise PackError("openssl %s failed: %s" % (arguments[0], result.stderr.decode("utf-8", "replace").strip()))
    return result.stdout


def make_key(path):
    """An RSA-2048 key at path, readable by its owner alone, unless one is there."""
    if os.path.exists(path):
        return False
    folder = os.path.dirname(os.path.abspath(path))
    os.makedirs(folder, exist_ok=True)
    handle, temporary = tempfile.mkstemp(prefix=".signing-key-", dir=folder)
    os.close(handle)
    try:
        openssl("genpkey", "-algorithm", "RSA", "-pkeyopt", "rsa_keygen_bits:2048", "-out", temporary)
        os.chmod(temporary, stat.S_IRUSR | stat.S_IWUSR)
        os.replace(temporary, path)
    finally:
        if os.path.exists(temporary):
            os.unlink(temporary)
    return True


def public_key_der(key):
    if not os.path.isfile(key):
        raise PackError("no signing key at %s" % key)
    der = openssl("pkey", "-in", key, "-pubout", "-outform", "DER")
    if not der.startswith(b"\x30"):
        raise PackError("%s is no private key openssl can read" % key)
    return der


def crx_id_bytes(public_der):
    return hashlib.sha256(public_der).digest()[:16]


def extension_id(public_der):
    """The 32 letters a-p that Chromium names the extension by."""
    return "".join("abcdefghijklmnop"[int(digit, 16)] for digit in crx_id_bytes(public_der).hex())


def sign(key, data):
    return openssl("dgst", "-sha256", "-sign", key, data=data)


def crx3(key, archive):
    """The CRX3 file of archive (the ZIP's bytes), signed with key."""
    public_der = public_key_der(key)
    signed_data = field(SIGNED_DATA_CRX_ID, crx_id_bytes(public_der))
    signature = sign(key, SIGNATURE_CONTEXT + struct.pack("<I", len(signed_data)) + signed_data + archive)
    proof = field(PROOF_PUBLIC_KEY, public_der) + field(PROOF_SIGNATURE, signature)
    header = field(HEADER_RSA_PROOF, proof) + field(HEADER_SIGNED_DATA, signed_data)
    return CRX_MAGIC + struct.pack("<II", CRX_VERSION, len(header)) + header + archive


def source_files(source):
    """The extension's files as (name in the archive, path), in a fixed order.
    Folders linked into the extension (the console) are followed; files whose
    name starts with a dot and type declarations are no part of it."""
    found = []
    for folder, folders, files in os.walk(source, followlinks=True):
        folders[:] = sorted(name for name in folders if not name.startswith("."))
        for name in sorted(files):
            if name.startswith(".") or name.endswith(".d.ts"):
                continue
            path = os.path.join(folder, name)
            found.append((os.path.relpath(path, source).replace(os.sep, "/"), path))
    return sorted(found)


def archive_of(files, manifest):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
        entries = [("manifest.json", None)] + [(name, path) for name, path in files if name != "manifest.json"]
        for name, path in entries:
            info = zipfile.ZipInfo(name, ZIP_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            if path is None:
                data = (json.dumps(manifest, indent=2, ensure_ascii=False) + "\n").encode("utf-8")
            else:
                with open(path, "rb") as stream:
                    data = stream.read()
            archive.writestr(info, data)
    return buffer.getvalue()


def read_manifest(source):
    try:
        with open(os.path.join(source, "manifest.json"), encoding="utf-8") as stream:
            return json.load(stream)
    except (OSError, ValueError) as error:
        raise PackError("cannot read the extension's manifest: %s" % error)


def firefox_id(manifest):
    try:
        return manifest["browser_specific_settings"]["gecko"]["id"]
    except (KeyError, TypeError):
        raise PackError("the extension's manifest names no Firefox add-on ID (browser_specific_settings.gecko.id)")


def chromium_manifest(manifest, version, public_der):
    packed = json.loads(json.dumps(manifest))
    packed["version"] = version
    packed["key"] = base64.b64encode(public_der).decode("ascii")
    # Chromium warns about keys it does not know; Firefox's are of no use to it.
    packed.pop("browser_specific_settings", None)
    packed.get("background", {}).pop("scripts", None)
    return packed


def firefox_manifest(manifest, version, update_url):
    packed = json.loads(json.dumps(manifest))
    packed["version"] = version
    # Firefox takes its ID from browser_specific_settings and warns about "key".
    packed.pop("key", None)
    packed.get("background", {}).pop("service_worker", None)
    # Firefox takes updates only over HTTPS; packages installed from files are
    # updated with the files (the next package).
    if update_url.startswith("https://"):
        packed["browser_specific_settings"]["gecko"]["update_url"] = update_url
    return packed


def joined(base, name):
    return base.rstrip("/") + "/" + name


def chromium_update_xml(identifier, version, codebase):
    return (
        "<?xml version='1.0' encoding='UTF-8'?>\n"
        "<gupdate xmlns='http://www.google.com/update2/response' protocol='2.0'>\n"
        "  <app appid='%s'>\n"
        "    <updatecheck codebase='%s' version='%s' />\n"
        "  </app>\n"
        "</gupdate>\n" % (xml_attribute(identifier), xml_attribute(codebase), xml_attribute(version))
    )


def xml_attribute(text):
    return text.replace("&", "&amp;").replace("'", "&apos;").replace("<", "&lt;").replace('"', "&quot;")


def firefox_update_json(identifier, version, link, xpi):
    update = {"version": version, "update_link": link, "update_hash": "sha256:" + hashlib.sha256(xpi).hexdigest()}
    return json.dumps({"addons": {identifier: {"updates": [update]}}}, indent=2) + "\n"


def write(path, data):
    mode = "wb" if isinstance(data, bytes) else "w"
    with open(path, mode, **({} if isinstance(data, bytes) else {"encoding": "utf-8"})) as stream:
        stream.write(data)


def pack(options):
    manifest = read_manifest(options.source)
    files = source_files(options.source)
    public_der = public_key_der(options.key)
    chromium_id = extension_id(public_der)
    gecko_id = firefox_id(manifest)
    os.makedirs(options.out, exist_ok=True)

    chromium_archive = archive_of(files, chromium_manifest(manifest, options.version, public_der))
    write(os.path.join(options.out, CRX_NAME), crx3(options.key, chromium_archive))
    chromium_update_url = joined(options.chromium_base_url, CHROMIUM_UPDATES)
    write(os.path.join(options.out, CHROMIUM_UPDATES),
          chromium_update_xml(chromium_id, options.version, joined(options.chromium_base_url, CRX_NAME)))

    firefox_update_url = joined(options.firefox_base_url, FIREFOX_UPDATES)
    xpi = archive_of(files, firefox_manifest(manifest, options.version, firefox_update_url))
    write(os.path.join(options.out, XPI_NAME), xpi)
    xpi_url = joined(options.firefox_base_url, XPI_NAME)
    write(os.path.join(options.out, FIREFOX_UPDATES), firefox_update_json(gecko_id, options.version, xpi_url, xpi))

    description = {
        "version": options.version,
        "chromium": {"id": chromium_id, "updateUrl": chromium_update_url, "package": joined(options.chromium_base_url, CRX_NAME)},
        "firefox": {"id": gecko_id, "installUrl": xpi_url, "updateUrl": firefox_update_url},
    }
    write(os.path.join(options.out, DESCRIPTION), json.dumps(description, indent=2) + "\n")


def parse_arguments(argv):
    parser = argparse.ArgumentParser(prog="pack-extension.py", description=__doc__.split("\n\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    for name, text in (("id", "print the Chromium extension ID the key gives"),
                       ("key", "make an RSA-2048 signing key unless there is one, then print its ID")):
        command = commands.add_parser(name, help=text)
        command.add_argument("--key", required=True, metavar="PEM")
    packing = commands.add_parser("pack", help="make the packages and their update manifests")
    packing.add_argument("--source", required=True, metavar="DIR", help="the extension's folder")
    packing.add_argument("--key", required=True, metavar="PEM", help="the RSA private key that signs the CRX")
    packing.add_argument("--version", required=True, help="the version the packages carry")
    packing.add_argument("--out", required=True, metavar="DIR")
    packing.add_argument("--chromium-base-url", required=True, metavar="URL",
                         help="where the browsers find the Chromium package and its update manifest")
    packing.add_argument("--firefox-base-url", required=True, metavar="URL",
                         help="where the browsers find the Firefox package and its update manifest")
    options = parser.parse_args(argv)
    parts = options.version.split(".") if options.command == "pack" else []
    if options.command == "pack" and not (len(parts) <= 4 and all(part.isdigit() and int(part) <= 65535 for part in parts)):
        parser.error("--version must be one to four numbers up to 65535 separated by dots, not %r" % options.version)
    return options


def main(argv):
    options = parse_arguments(argv)
    try:
        if options.command == "pack":
            pack(options)
            return 0
        if options.command == "key":
            make_key(options.key)
        print(extension_id(public_key_der(options.key)))
    except PackError as error:
        print("pack-extension.py: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
