"""The extension's packages: a CRX3 that Chromium's format accepts, signed with
the given key and naming the ID that key gives; an XPI with the add-on's ID;
and the update manifests that point the browsers at them."""

import base64
import hashlib
import io
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile

SOURCE = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", ".."))
PACKER = os.path.join(SOURCE, "packaging", "extension", "pack-extension.py")
EXTENSION = os.path.join(SOURCE, "extension")
BASE = "file:///usr/share/vantrel"


def run_packer(*arguments):
    return subprocess.run([sys.executable, PACKER, *arguments], capture_output=True, text=True, check=False)


def protobuf_fields(data):
    """The length-delimited fields of a protobuf message, as (number, bytes)."""
    fields, at = [], 0

    def varint():
        nonlocal at
        value, shift = 0, 0
        while True:
            byte = data[at]
            at += 1
            value |= (byte & 0x7F) << shift
            shift += 7
            if not byte & 0x80:
                return value

    while at < len(data):
        tag = varint()
        if tag & 7 != 2:
            raise ValueError("field %d is not length-delimited" % (tag >> 3))
        length = varint()
        fields.append((tag >> 3, data[at : at + length]))
        at += length
    return fields


def read_crx(data):
    magic, version, header_length = data[:4], *struct.unpack("<II", data[4:12])
    header = data[12 : 12 + header_length]
    return magic, version, dict(protobuf_fields(header)), header, data[12 + header_length :]


def chromium_id(public_der):
    return "".join("abcdefghijklmnop"[int(d, 16)] for d in hashlib.sha256(public_der).digest()[:16].hex())


class PackedExtension(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp()
        cls.key = os.path.join(cls.work, "keys", "signing.pem")
        made = run_packer("key", "--key", cls.key)
        assert made.returncode == 0, made.stderr
        cls.printed_id = made.stdout.strip()
        cls.public_der = subprocess.run(["openssl", "pkey", "-in", cls.key, "-pubout", "-outform", "DER"],
                                        capture_output=True, check=True).stdout
        cls.out = os.path.join(cls.work, "out")
        packed = run_packer("pack", "--source", EXTENSION, "--key", cls.key, "--version", "2.7.1", "--out", cls.out,
                            "--chromium-base-url", BASE + "/", "--firefox-base-url", BASE)
        assert packed.returncode == 0, packed.stderr

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work)

    def read(self, name, mode="rb"):
        with open(os.path.join(self.out, name), mode) as stream:
            return stream.read()

    def test_the_key_is_made_once_private_to_its_owner_and_names_the_id(self):
        self.assertEqual(os.stat(self.key).st_mode & 0o777, 0o600)
        self.assertRegex(self.printed_id, "^[a-p]{32}$")
        self.assertEqual(self.printed_id, chromium_id(self.public_der))
        with open(self.key, "rb") as stream:
            before = stream.read()
        again = run_packer("key", "--key", self.key)
        self.assertEqual((again.returncode, again.stdout.strip()), (0, self.printed_id))
        with open(self.key, "rb") as stream:
            self.assertEqual(stream.read(), before)

    def test_the_crx_is_crx3_signed_by_the_key_over_its_id_and_archive(self):
        magic, version, header, _, archive = read_crx(self.read("vantrel.crx"))
        self.assertEqual((magic, version), (b"Cr24", 3))
        self.assertEqual(sorted(header), [2, 10000])
        proof = dict(protobuf_fields(header[2]))
        self.assertEqual(proof[1], self.public_der)
        signed_data = dict(protobuf_fields(header[10000]))
        self.assertEqual(signed_data[1], hashlib.sha256(self.public_der).digest()[:16])
        signed = b"CRX3 SignedData\x00" + struct.pack("<I", len(header[10000])) + header[10000] + archive
        for content, verdict in ((signed, "Verified OK"), (signed[:-1] + bytes([signed[-1] ^ 1]), "Verification failure")):
            with self.subTest(verdict=verdict):
                public = os.path.join(self.work, "public.der")
                signature = os.path.join(self.work, "signature")
                with open(public, "wb") as stream:
                    stream.write(self.public_der)
                with open(signature, "wb") as stream:
                    stream.write(proof[2])
                checked = subprocess.run(["openssl", "dgst", "-sha256", "-keyform", "DER", "-verify", public,
                                          "-signature", signature], input=content, capture_output=True, check=False)
                self.assertIn(verdict, checked.stdout.decode())

    def test_the_chromium_manifest_carries_the_signing_key_and_the_version(self):
        archive = zipfile.ZipFile(io.BytesIO(read_crx(self.read("vantrel.crx"))[4]))
        self.assertIsNone(archive.testzip())
        manifest = json.loads(archive.read("manifest.json"))
        self.assertEqual(base64.b64decode(manifest["key"]), self.public_der)
        self.assertEqual(manifest["version"], "2.7.1")
        self.assertNotIn("browser_specific_settings", manifest)
        self.assertNotIn("scripts", manifest["background"])
        self.assertEqual(manifest["background"]["service_worker"], "background/background.js")

    def test_both_archives_hold_the_extension_with_the_console_and_nothing_else(self):
        xpi = zipfile.ZipFile(io.BytesIO(self.read("vantrel.xpi")))
        crx = zipfile.ZipFile(io.BytesIO(read_crx(self.read("vantrel.crx"))[4]))
        for name, archive in (("crx", crx), ("xpi", xpi)):
            with self.subTest(archive=name):
                names = archive.namelist()
                self.assertEqual(names[0], "manifest.json")
                for wanted in ("background/background.js", "content/content.js", "windows/pin.html",
                               "managed-schema.json", "console/index.html", "console/console/main.js",
                               "console/vantrel.js", "console/lib/certificate.js"):
                    self.assertIn(wanted, names)
                self.assertEqual([n for n in names if n.endswith(".d.ts") or "/." in n or n.startswith(".")], [])
                with open(os.path.join(EXTENSION, "background", "background.js"), "rb") as stream:
                    self.assertEqual(archive.read("background/background.js"), stream.read())

    def test_the_xpi_names_the_add_on_and_no_key(self):
        manifest = json.loads(zipfile.ZipFile(io.BytesIO(self.read("vantrel.xpi"))).read("manifest.json"))
        gecko = manifest["browser_specific_settings"]["gecko"]
        self.assertEqual(gecko["id"], "vantrel-sample@vantrel.org")
        # Files are no update source for Firefox: the package brings the next version.
        self.assertNotIn("update_url", gecko)
        self.assertNotIn("key", manifest)
        self.assertNotIn("service_worker", manifest["background"])
        self.assertEqual(manifest["version"], "2.7.1")

    def test_the_update_manifests_name_the_version_the_ids_and_the_packages(self):
        app = ElementTree.fromstring(self.read("chromium-updates.xml"))[0]
        check = app[0]
        self.assertEqual(app.get("appid"), self.printed_id)
        self.assertEqual((check.get("codebase"), check.get("version")), (BASE + "/vantrel.crx", "2.7.1"))
        updates = json.loads(self.read("firefox-updates.json"))["addons"]["vantrel-sample@vantrel.org"]["updates"]
        self.assertEqual(updates, [{"version": "2.7.1", "update_link": BASE + "/vantrel.xpi",
                                    "update_hash": "sha256:" + hashlib.sha256(self.read("vantrel.xpi")).hexdigest()}])
        described = json.loads(self.read("extension.json"))
        self.assertEqual(described["chromium"], {"id": self.printed_id, "updateUrl": BASE + "/chromium-updates.xml",
                                                 "package": BASE + "/vantrel.crx"})
        self.assertEqual(described["firefox"]["installUrl"], BASE + "/vantrel.xpi")

    def test_the_same_sources_give_the_same_xpi(self):
        again = os.path.join(self.work, "again")
        run_packer("pack", "--source", EXTENSION, "--key", self.key, "--version", "2.7.1", "--out", again,
                   "--chromium-base-url", BASE, "--firefox-base-url", BASE)
        with open(os.path.join(again, "vantrel.xpi"), "rb") as stream:
            self.assertEqual(stream.read(), self.read("vantrel.xpi"))

    def test_an_https_base_gives_firefox_its_update_address(self):
        out = os.path.join(self.work, "https")
        run_packer("pack", "--source", EXTENSION, "--key", self.key, "--version", "1.4", "--out", out,
                   "--chromium-base-url", "https://updates.example.org/c", "--firefox-base-url", "https://updates.example.org/f")
        manifest = json.loads(zipfile.ZipFile(os.path.join(out, "vantrel.xpi")).read("manifest.json"))
        self.assertEqual(manifest["browser_specific_settings"]["gecko"]["update_url"],
                         "https://updates.example.org/f/firefox-updates.json")


class Refusals(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.work)

    def test_what_the_packer_refuses(self):
        not_a_key = os.path.join(self.work, "not-a-key.pem")
        with open(not_a_key, "w") as stream:
            stream.write("hello\n")
        no_gecko = os.path.join(self.work, "no-gecko")
        os.mkdir(no_gecko)
        with open(os.path.join(no_gecko, "manifest.json"), "w") as stream:
            json.dump({"manifest_version": 3, "name": "x", "version": "1"}, stream)
        key = os.path.join(self.work, "key.pem")
        self.assertEqual(run_packer("key", "--key", key).returncode, 0)
        cases = (
            ("no key", EXTENSION, os.path.join(self.work, "missing.pem"), "1.4", "no signing key at"),
            ("not a key", EXTENSION, not_a_key, "1.4", "openssl pkey failed"),
            ("no add-on ID", no_gecko, key, "1.4", "names no Firefox add-on ID"),
            ("five numbers", EXTENSION, key, "1.2.3.4.5", "--version must be"),
            ("a number too big", EXTENSION, key, "1.65536", "--version must be"),
            ("letters", EXTENSION, key, "1.4-beta", "--version must be"),
        )
        for name, source, signing_key, version, said in cases:
            with self.subTest(name):
                out = os.path.join(self.work, "out-" + name.replace(" ", "-"))
                packed = run_packer("pack", "--source", source, "--key", signing_key, "--version", version, "--out", out,
                                    "--chromium-base-url", BASE, "--firefox-base-url", BASE)
                self.assertNotEqual(packed.returncode, 0)
                self.assertIn(said, packed.stderr)
                self.assertFalse(os.path.exists(os.path.join(out, "vantrel.crx")))


if __name__ == "__main__":
    unittest.main()
