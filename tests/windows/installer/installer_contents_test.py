"""The installer's tables and files, read with msitools on the build machine.

Where the Windows tests cannot run (a 32-bit tree on a machine without 32-bit
programs), this is what shows the installer right; elsewhere it runs beside
them.

    installer_contents_test.py <tree>/installer-contents.txt [unittest options]

The file, which the build writes, names with lines of KEY=VALUE: VANTREL_MSI,
the installer; VANTREL_MSI_FILES, the folder of the files it was made from;
VANTREL_MSI_ARCH, x64 or x86; VANTREL_MSI_VERSION; VANTREL_MSI_EXTENSIONS,
the names of the extension packages it holds, separated by commas;
VANTREL_OBJDUMP, the build's MinGW objdump; and the build's choices:
VANTREL_MSI_MODULE, the PKCS#11 module, VANTREL_MSI_ORIGINS and
VANTREL_MSI_FIREFOX_IDS, the extensions, separated by commas;
VANTREL_MSI_PACKAGED_ID and VANTREL_MSI_FIREFOX_ADDON_ID, the packaged
extension's IDs, and VANTREL_MSI_PACKAGE_URL, the address its packages were
made for.
"""

import json
import os
import subprocess
import sys
import tempfile
import unittest

with open(sys.argv[1], encoding="utf-8") as settings_file:
    SETTINGS = dict(line.rstrip("\n").split("=", 1) for line in settings_file if "=" in line)
del sys.argv[1]
MSI = SETTINGS["VANTREL_MSI"]
FILES = SETTINGS["VANTREL_MSI_FILES"]
ARCH = SETTINGS["VANTREL_MSI_ARCH"]
VERSION = SETTINGS["VANTREL_MSI_VERSION"]
EXTENSIONS = sorted(name for name in SETTINGS["VANTREL_MSI_EXTENSIONS"].split(",") if name)
OBJDUMP = SETTINGS["VANTREL_OBJDUMP"]
MODULE = SETTINGS["VANTREL_MSI_MODULE"]
ORIGINS = SETTINGS["VANTREL_MSI_ORIGINS"].split(",")
FIREFOX_IDS = SETTINGS["VANTREL_MSI_FIREFOX_IDS"].split(",")
PACKAGED_ID = SETTINGS["VANTREL_MSI_PACKAGED_ID"]
FIREFOX_ADDON_ID = SETTINGS["VANTREL_MSI_FIREFOX_ADDON_ID"]
PACKAGE_URL = SETTINGS["VANTREL_MSI_PACKAGE_URL"].rstrip("/")
SIXTY_FOUR = ARCH == "x64"
# The build's own packages come with the policies that install them.
WITH_POLICIES = "vantrel.crx" in EXTENSIONS
FORCELISTS = [r"Software\Policies\Google\Chrome\ExtensionInstallForcelist",
              r"Software\Policies\Chromium\ExtensionInstallForcelist",
              r"Software\Policies\Microsoft\Edge\ExtensionInstallForcelist"]
FIREFOX_POLICIES = r"Software\Policies\Mozilla\Firefox"

INSTALLED = ["README.txt", "org.vantrel.host.firefox.json", "org.vantrel.host.json",
             "vantrel.cfg", "vantrel.exe"]
BROWSER_KEYS = {
    r"Software\Google\Chrome\NativeMessagingHosts\org.vantrel.host": "[#ChromiumManifest]",
    r"Software\Chromium\NativeMessagingHosts\org.vantrel.host": "[#ChromiumManifest]",
    r"Software\Microsoft\Edge\NativeMessagingHosts\org.vantrel.host": "[#ChromiumManifest]",
    r"Software\Mozilla\NativeMessagingHosts\org.vantrel.host": "[#FirefoxManifest]",
}
HKLM = "2"
COMPONENT_64BIT = 256
NEVER_OVERWRITE = 128


def table(name):
    """The rows of a table as dictionaries by column name."""
    text = subprocess.run(["msiinfo", "export", MSI, name], check=True,
                          capture_output=True, text=True).stdout
    lines = text.split("\r\n") if "\r\n" in text else text.split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def by(rows, column):
    return {row[column]: row for row in rows}


class InstallerContents(unittest.TestCase):
    @staticmethod
    def expected_files():
        return sorted(INSTALLED + ["extensions/" + name for name in EXTENSIONS])

    def test_summary_names_the_processor_type(self):
        summary = subprocess.run(["msiinfo", "suminfo", MSI], check=True, capture_output=True,
                                 text=True).stdout
        self.assertIn("Template: %s;1033" % ("x64" if SIXTY_FOUR else "Intel"), summary)

    def test_properties(self):
        properties = {row["Property"]: row["Value"] for row in table("Property")}
        self.assertEqual(properties["ProductName"], "Vantrel")
        self.assertEqual(properties["ProductVersion"], VERSION)
        self.assertEqual(properties["UpgradeCode"], "{C999E88F-1CFF-412F-87EC-31184A96C2C9}")
        self.assertEqual(properties["ALLUSERS"], "1")

    def test_files_go_to_program_files_and_are_the_builds(self):
        directories = by(table("Directory"), "Directory")
        self.assertEqual(directories["INSTALLDIR"]["Directory_Parent"],
                         "ProgramFiles64Folder" if SIXTY_FOUR else "ProgramFilesFolder")
        self.assertEqual(directories["INSTALLDIR"]["DefaultDir"], "Vantrel")
        files = table("File")
        components = by(table("Component"), "Component")
        folders = {"INSTALLDIR": "", "ExtensionsFolder": "extensions/"}
        self.assertEqual(sorted(folders[components[row["Component_"]]["Directory_"]]
                                + row["FileName"] for row in files), self.expected_files())
        if EXTENSIONS:
            self.assertEqual(directories["ExtensionsFolder"]["Directory_Parent"], "INSTALLDIR")
            self.assertEqual(directories["ExtensionsFolder"]["DefaultDir"], "extensions")
        for row in files:
            with self.subTest(file=row["FileName"]):
                attributes = int(components[row["Component_"]]["Attributes"])
                self.assertEqual(attributes & COMPONENT_64BIT, COMPONENT_64BIT if SIXTY_FOUR else 0)
                self.assertEqual(attributes & NEVER_OVERWRITE,
                                 NEVER_OVERWRITE if row["FileName"] == "vantrel.cfg" else 0)
        self.assertEqual(by(files, "FileName")["vantrel.exe"]["Version"], VERSION + ".0")
        self.assertNotIn("HostProgram", by(table("MsiFileHash"), "File_"))

        with tempfile.TemporaryDirectory() as extracted:
            subprocess.run(["msiextract", "-C", extracted, MSI], check=True,
                           capture_output=True)
            # msiextract names ProgramFilesFolder "Program Files" and leaves
            # ProgramFiles64Folder out.
            root = os.path.join(extracted, "Vantrel" if SIXTY_FOUR else "Program Files/Vantrel")
            found = sorted(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
                           for folder, _, names in os.walk(root) for name in names)
            self.assertEqual(found, self.expected_files())
            for name in found:
                with self.subTest(file=name), open(os.path.join(root, name), "rb") as got, \
                        open(os.path.join(FILES, name), "rb") as expected:
                    self.assertEqual(got.read(), expected.read())
            headers = subprocess.run([OBJDUMP, "-f", os.path.join(root, "vantrel.exe")],
                                     check=True, capture_output=True, text=True).stdout
            self.assertIn("pei-x86-64" if SIXTY_FOUR else "pei-i386", headers)
            self.check_the_builds_choices(root)

    def check_the_builds_choices(self, root):
        with open(os.path.join(root, "vantrel.cfg"), encoding="utf-8", newline="") as config:
            lines = config.read().split("\r\n")
        self.assertEqual([line for line in lines if not line.startswith("#") and line],
                         ["pkcs11Library=" + MODULE])
        manifests = {"org.vantrel.host.json": ("allowed_origins", ORIGINS),
                     "org.vantrel.host.firefox.json": ("allowed_extensions", FIREFOX_IDS)}
        for name, (member, extensions) in manifests.items():
            with self.subTest(manifest=name), open(os.path.join(root, name),
                                                    encoding="utf-8") as manifest:
                parsed = json.load(manifest)
                self.assertEqual(parsed["name"], "org.vantrel.host")
                self.assertEqual(parsed["path"], "vantrel.exe")
                self.assertEqual(parsed[member], extensions)

    def test_every_browser_is_registered_in_the_views_the_type_can_write(self):
        components = by(table("Component"), "Component")
        written = {}
        for row in table("Registry"):
            view = 64 if int(components[row["Component_"]]["Attributes"]) & COMPONENT_64BIT else 32
            if row["Key"] in BROWSER_KEYS:
                self.assertEqual((row["Root"], row["Name"]), (HKLM, ""), row)
                written.setdefault(view, {})[row["Key"]] = row["Value"]
        expected_views = [32, 64] if SIXTY_FOUR else [32]
        self.assertEqual(sorted(written), expected_views)
        for view in expected_views:
            self.assertEqual(written[view], BROWSER_KEYS, "%d-bit view" % view)

    def test_policies_install_the_packaged_extension_from_where_the_packages_are(self):
        components = by(table("Component"), "Component")
        policies = {}
        for row in table("Registry"):
            if row["Key"].startswith("Software\\Policies\\"):
                self.assertEqual(row["Root"], HKLM, row)
                view = 64 if int(components[row["Component_"]]["Attributes"]) & COMPONENT_64BIT else 32
                policies.setdefault(view, {})[(row["Key"], row["Name"])] = row["Value"]
        if not WITH_POLICIES:
            self.assertEqual(policies, {})
            return
        forcelist = "%s;%s/chromium-updates.xml" % (PACKAGED_ID, PACKAGE_URL)
        expected = {(key, "8687"): forcelist for key in FORCELISTS}
        # Windows Installer formats the value: [\{] and [\}] are braces.
        settings = policies[32].get((FIREFOX_POLICIES, "ExtensionSettings"), "")
        expected[(FIREFOX_POLICIES, "ExtensionSettings")] = settings
        self.assertEqual(sorted(policies), [32, 64] if SIXTY_FOUR else [32])
        for view, values in policies.items():
            self.assertEqual(values, expected, "%d-bit view" % view)
        parsed = json.loads(settings.replace("[\\{]", "{").replace("[\\}]", "}"))
        self.assertEqual(parsed, {FIREFOX_ADDON_ID: {"installation_mode": "force_installed",
                                                     "install_url": PACKAGE_URL + "/vantrel.xpi"}})
        # The update manifest the list names leads to the CRX beside it.
        with open(os.path.join(FILES, "extensions", "chromium-updates.xml"), encoding="utf-8") as updates:
            self.assertIn("codebase='%s/vantrel.crx'" % PACKAGE_URL, updates.read())

    def test_upgrades_replace_older_ones_and_refuse_newer_ones(self):
        upgrades = table("Upgrade")
        code = "{C999E88F-1CFF-412F-87EC-31184A96C2C9}"
        self.assertTrue(all(row["UpgradeCode"] == code for row in upgrades))
        by_property = by(upgrades, "ActionProperty")
        self.assertEqual(by_property["WIX_UPGRADE_DETECTED"]["VersionMax"], VERSION)
        self.assertEqual(by_property["WIX_DOWNGRADE_DETECTED"]["VersionMin"], VERSION)
        self.assertEqual(by_property["VANTREL_SAME_VERSION_INSTALLED"]["VersionMin"], VERSION)
        conditions = {row["Condition"] for row in table("LaunchCondition")}
        self.assertIn("NOT WIX_DOWNGRADE_DETECTED", conditions)
        self.assertIn("Installed OR NOT VANTREL_SAME_VERSION_INSTALLED", conditions)
        sequence = {row["Action"]: int(row["Sequence"]) for row in table("InstallExecuteSequence")}
        self.assertLess(sequence["InstallExecute"], sequence["RemoveExistingProducts"])
        self.assertLess(sequence["RemoveExistingProducts"], sequence["InstallFinalize"])


if __name__ == "__main__":
    unittest.main()
