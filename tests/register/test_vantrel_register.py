"""vantrel-register: the manifests it writes and what --uninstall leaves behind."""

import base64
import hashlib
import json
import os
import pwd
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
REGISTER = os.path.join(SOURCE, "tools", "vantrel-register")
HOST_NAME = "org.vantrel.host"

# Where each browser reads the manifest on Linux, below the home folder and
# below /. Chrome and Chromium: Chrome's native messaging documentation; Edge:
# Microsoft's; Firefox: MDN's native manifests. Brave and Vivaldi document none:
# their user data folders, and Chromium's system-wide folder, which every
# Chromium build without Google's branding reads.
USER_FOLDERS = {
    "chromium": ".config/chromium/NativeMessagingHosts",
    "chrome": ".config/google-chrome/NativeMessagingHosts",
    "edge": ".config/microsoft-edge/NativeMessagingHosts",
    "brave": ".config/BraveSoftware/Brave-Browser/NativeMessagingHosts",
    "vivaldi": ".config/vivaldi/NativeMessagingHosts",
    "firefox": ".mozilla/native-messaging-hosts",
}
SYSTEM_FOLDERS = {
    "chromium": "etc/chromium/native-messaging-hosts",
    "chrome": "etc/opt/chrome/native-messaging-hosts",
    "edge": "etc/opt/edge/native-messaging-hosts",
    "brave": "etc/chromium/native-messaging-hosts",
    "vivaldi": "etc/chromium/native-messaging-hosts",
    "firefox": "usr/lib/mozilla/native-messaging-hosts",
}


def snapshot(folder):
    """Every path below folder with its kind and, for files, its content
    (for links, where they lead)."""
    result = {}
    for directory, folders, files in os.walk(folder):
        for name in folders:
            result[os.path.relpath(os.path.join(directory, name), folder)] = "folder"
        for name in files:
            path = os.path.join(directory, name)
            if os.path.islink(path):
                result[os.path.relpath(path, folder)] = ("link", os.readlink(path))
                continue
            with open(path, "rb") as stream:
                result[os.path.relpath(path, folder)] = stream.read()
    return result


class RegisterTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory(prefix="vantrel-register-test-")
        self.root = self.scratch.name
        self.home = os.path.join(self.root, "home")
        os.mkdir(self.home)
        self.host = os.path.join(self.root, "opt", "vantrel", "vantrel")
        os.makedirs(os.path.dirname(self.host))
        with open(self.host, "w") as stream:
            stream.write("#!/bin/sh\n")
        os.chmod(self.host, 0o755)

    def tearDown(self):
        self.scratch.cleanup()

    def run_register(self, *arguments, cwd=None, umask=None):
        environment = {k: v for k, v in os.environ.items() if k not in ("XDG_CONFIG_HOME", "CHROME_CONFIG_HOME")}
        environment["HOME"] = self.home
        return subprocess.run(
            [sys.executable, REGISTER, *arguments],
            env=environment,
            cwd=cwd,
            capture_output=True,
            text=True,
            timeout=60,
            preexec_fn=None if umask is None else (lambda: os.umask(umask)),
        )

    def register(self, *arguments):
        result = self.run_register(*arguments)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result

    def read_manifest(self, folder):
        with open(os.path.join(folder, HOST_NAME + ".json"), encoding="utf-8") as stream:
            return json.load(stream)

    def test_user_registration_writes_a_valid_manifest_for_each_browser(self):
        self.register("--host", self.host)
        for browser, folder in USER_FOLDERS.items():
            manifest = self.read_manifest(os.path.join(self.home, folder))
            self.assertEqual(manifest["name"], HOST_NAME, browser)
            self.assertEqual(manifest["type"], "stdio", browser)
            self.assertTrue(manifest["description"], browser)
            self.assertTrue(os.path.isabs(manifest["path"]), browser)
            self.assertEqual(manifest["path"], self.host, browser)
            if browser == "firefox":
                self.assertEqual(manifest["allowed_extensions"], ["vantrel-sample@vantrel.org"])
                self.assertNotIn("allowed_origins", manifest)
            else:
                self.assertEqual(manifest["allowed_origins"], ["chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/"])
                self.assertNotIn("allowed_extensions", manifest)

    def test_relative_host_path_is_written_absolute(self):
        result = self.run_register("--host", "opt/vantrel/vantrel", "--browser", "chromium", cwd=self.root)
        self.assertEqual(result.returncode, 0, result.stderr)
        manifest = self.read_manifest(os.path.join(self.home, USER_FOLDERS["chromium"]))
        self.assertEqual(manifest["path"], self.host)

    def test_uninstall_leaves_a_fresh_home_empty(self):
        self.register("--host", self.host)
        self.register("--uninstall", "--host", self.host)
        self.assertEqual(snapshot(self.home), {})

    def test_uninstall_leaves_the_users_folders_as_they_were(self):
        profile = os.path.join(self.home, ".config", "chromium", "Default")
        os.makedirs(profile)
        with open(os.path.join(profile, "Preferences"), "w") as stream:
            stream.write("{}")
        os.makedirs(os.path.join(self.home, ".mozilla", "firefox"))
        # An empty manifest folder the user made stays, although it is empty.
        os.makedirs(os.path.join(self.home, USER_FOLDERS["chrome"]))
        before = snapshot(self.home)

        self.register("--host", self.host)
        self.assertNotEqual(snapshot(self.home), before)
        self.register("--uninstall", "--host", self.host)
        self.assertEqual(snapshot(self.home), before)

    def test_registering_twice_then_uninstalling_once_cleans_up(self):
        self.register("--host", self.host)
        self.register("--host", self.host, "--origin", "chrome-extension://" + "a" * 32 + "/")
        self.register("--uninstall", "--host", self.host)
        self.assertEqual(snapshot(self.home), {})

    def test_uninstall_keeps_a_folder_that_another_host_now_uses(self):
        self.register("--host", self.host, "--browser", "firefox")
        other = os.path.join(self.home, USER_FOLDERS["firefox"], "com.example.other.json")
        with open(other, "w") as stream:
            stream.write('{"name":"com.example.other"}')
        self.register("--uninstall", "--host", self.host, "--browser", "firefox")
        self.assertEqual(snapshot(self.home), {
            ".mozilla": "folder",
            os.path.join(".mozilla", "native-messaging-hosts"): "folder",
            os.path.join(".mozilla", "native-messaging-hosts", "com.example.other.json"): b'{"name":"com.example.other"}',
        })

    def test_uninstall_leaves_a_manifest_it_did_not_write(self):
        folder = os.path.join(self.home, USER_FOLDERS["chromium"])
        os.makedirs(folder)
        with open(os.path.join(folder, HOST_NAME + ".json"), "w") as stream:
            stream.write('{"name":"something.else"}')
        result = self.run_register("--uninstall", "--browser", "chromium")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("left as they are", result.stderr)
        self.assertTrue(os.path.exists(os.path.join(folder, HOST_NAME + ".json")))

    def test_missing_host_is_refused_and_nothing_is_written(self):
        missing = os.path.join(self.root, "no-such-folder", "vantrel")
        result = self.run_register("--host", missing)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn(missing, result.stderr)
        self.assertIn("does not exist", result.stderr)
        self.assertEqual(snapshot(self.home), {})

    def test_host_that_is_not_executable_is_refused(self):
        os.chmod(self.host, 0o644)
        result = self.run_register("--host", self.host)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("not executable", result.stderr)
        self.assertEqual(snapshot(self.home), {})

    def test_named_extensions_replace_the_sample_extension(self):
        first, second = "b" * 32, "c" * 32
        self.register(
            "--host", self.host,
            "--origin", "chrome-extension://%s/" % first,
            # Chromium rejects origins without the trailing slash: it is added.
            "--origin", "chrome-extension://%s" % second,
            "--firefox-id", "someone@example.org",
        )
        chromium = self.read_manifest(os.path.join(self.home, USER_FOLDERS["chromium"]))
        self.assertEqual(chromium["allowed_origins"], ["chrome-extension://%s/" % first, "chrome-extension://%s/" % second])
        firefox = self.read_manifest(os.path.join(self.home, USER_FOLDERS["firefox"]))
        self.assertEqual(firefox["allowed_extensions"], ["someone@example.org"])

    def test_malformed_extension_names_are_refused(self):
        for arguments in (
            ("--origin", "chrome-extension://abc/"),
            ("--origin", "https://example.org/"),
            ("--origin", "chrome-extension://" + "q" * 32 + "/"),
            ("--firefox-id", "no spaces@example.org"),
        ):
            result = self.run_register("--host", self.host, *arguments)
            self.assertNotEqual(result.returncode, 0, arguments)
            self.assertEqual(snapshot(self.home), {}, arguments)

    def test_one_browser_only(self):
        self.register("--host", self.host, "--browser", "chrome")
        self.assertEqual(
            sorted(p for p, kind in snapshot(self.home).items() if p.endswith(".json")),
            [os.path.join(USER_FOLDERS["chrome"], HOST_NAME + ".json")],
        )

    def test_user_data_dir_takes_the_manifest_and_nothing_else(self):
        profile = os.path.join(self.root, "profile")
        os.mkdir(profile)
        self.register("--host", self.host, "--user-data-dir", profile)
        manifest = self.read_manifest(os.path.join(profile, "NativeMessagingHosts"))
        self.assertEqual(manifest["path"], self.host)
        self.assertIn("allowed_origins", manifest)
        self.assertEqual(snapshot(self.home), {})
        self.register("--uninstall", "--host", self.host, "--user-data-dir", profile)
        self.assertEqual(snapshot(profile), {})

    def test_user_data_dir_is_refused_for_firefox(self):
        result = self.run_register("--host", self.host, "--user-data-dir", self.root, "--browser", "firefox")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("Firefox", result.stderr)

    def test_config_home_variables_move_the_chromium_family_folders(self):
        # $CHROME_CONFIG_HOME is Chrome's and Chromium's alone; the others
        # follow $XDG_CONFIG_HOME, and Firefox neither.
        chrome_config, xdg_config = os.path.join(self.root, "chrome-config"), os.path.join(self.root, "xdg")
        expected_with_both = {
            "chromium": chrome_config, "chrome": chrome_config, "edge": xdg_config,
            "brave": xdg_config, "vivaldi": xdg_config, "firefox": self.home,
        }
        cases = (
            ({"XDG_CONFIG_HOME": xdg_config}, {b: (self.home if b == "firefox" else xdg_config) for b in USER_FOLDERS}),
            ({"XDG_CONFIG_HOME": xdg_config, "CHROME_CONFIG_HOME": chrome_config}, expected_with_both),
            # A relative value counts as unset.
            ({"XDG_CONFIG_HOME": "relative", "CHROME_CONFIG_HOME": "relative"}, {b: self.home for b in USER_FOLDERS}),
        )
        for variables, expected in cases:
            with self.subTest(variables):
                environment = dict(os.environ, HOME=self.home, **variables)
                for unset in {"XDG_CONFIG_HOME", "CHROME_CONFIG_HOME"} - set(variables):
                    environment.pop(unset, None)
                subprocess.run([sys.executable, REGISTER, "--host", self.host], env=environment, check=True,
                               capture_output=True, cwd=self.root)
                for browser, base in expected.items():
                    folder = USER_FOLDERS[browser]
                    if base != self.home:
                        folder = folder[len(".config/"):]
                    self.assertTrue(os.path.isfile(os.path.join(base, folder, HOST_NAME + ".json")), browser)
                subprocess.run([sys.executable, REGISTER, "--uninstall", "--host", self.host], env=environment,
                               check=True, capture_output=True, cwd=self.root)
                self.assertEqual(snapshot(self.home), {})

    def test_browsers_that_share_a_folder_share_one_manifest(self):
        staging = os.path.join(self.root, "staging")
        os.makedirs(os.path.join(staging, "opt", "vantrel"))
        os.symlink(self.host, os.path.join(staging, "opt", "vantrel", "vantrel"))
        result = self.register("--system", "--root", staging, "--host", "/opt/vantrel/vantrel",
                               "--browser", "vivaldi", "--browser", "brave")
        chromium = os.path.join(staging, SYSTEM_FOLDERS["chromium"], HOST_NAME + ".json")
        self.assertEqual(result.stdout, "registered %s for Brave and Vivaldi: %s\n" % (HOST_NAME, chromium))
        self.assertEqual(self.read_manifest(os.path.dirname(chromium))["path"], "/opt/vantrel/vantrel")
        self.assertEqual(sorted(p for p in snapshot(staging) if p.endswith(".json")),
                         [os.path.relpath(chromium, staging)])
        # What one of them registered, the other's uninstall removes: it is one file.
        self.register("--uninstall", "--system", "--root", staging, "--host", "/opt/vantrel/vantrel",
                      "--browser", "brave")
        self.assertFalse(os.path.exists(chromium))

    def test_system_registration_under_a_root_names_the_final_host_path(self):
        staging = os.path.join(self.root, "staging")
        final_host = "/usr/libexec/vantrel/vantrel"
        os.makedirs(os.path.join(staging, "usr", "libexec", "vantrel"))
        os.makedirs(os.path.join(staging, "etc", "chromium"))
        os.symlink(self.host, os.path.join(staging, final_host.lstrip("/")))
        before = snapshot(staging)

        self.register("--system", "--root", staging, "--host", final_host)
        for browser, folder in SYSTEM_FOLDERS.items():
            manifest = self.read_manifest(os.path.join(staging, folder))
            self.assertEqual(manifest["path"], final_host, browser)
            mode = os.stat(os.path.join(staging, folder, HOST_NAME + ".json")).st_mode
            self.assertEqual(stat.S_IMODE(mode), 0o644, browser)
        self.assertEqual(snapshot(self.home), {})

        self.register("--uninstall", "--system", "--root", staging, "--host", final_host)
        self.assertEqual(snapshot(staging), before)

    def test_folders_it_makes_are_readable_by_browsers_whatever_the_umask(self):
        result = self.run_register("--host", self.host, umask=0o077)
        self.assertEqual(result.returncode, 0, result.stderr)
        for path, kind in snapshot(self.home).items():
            mode = stat.S_IMODE(os.stat(os.path.join(self.home, path)).st_mode)
            self.assertEqual(mode, 0o755 if kind == "folder" else 0o644, path)

    def test_uninstall_leaves_another_programs_manifest_of_the_same_name(self):
        self.register("--host", self.host)
        chromium = os.path.join(self.home, USER_FOLDERS["chromium"], HOST_NAME + ".json")
        foreign = json.dumps({
            "name": HOST_NAME,
            "description": "Another vendor's host under the same name",
            "path": "/opt/other/host",
            "type": "stdio",
            "allowed_origins": ["chrome-extension://%s/" % ("b" * 32)],
        })
        with open(chromium, "w") as stream:
            stream.write(foreign)
        result = self.run_register("--uninstall", "--host", self.host)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("left as they are", result.stderr)
        self.assertIn(chromium, result.stderr)
        with open(chromium) as stream:
            self.assertEqual(stream.read(), foreign)
        for browser in ("chrome", "firefox"):
            self.assertFalse(os.path.exists(os.path.join(self.home, USER_FOLDERS[browser], HOST_NAME + ".json")), browser)

    def make_host(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as stream:
            stream.write("#!/bin/sh\n")
        os.chmod(path, 0o755)

    def test_uninstall_leaves_another_installations_manifest(self):
        other = os.path.join(self.root, "other", "vantrel")
        self.make_host(other)
        self.register("--host", self.host, "--browser", "chromium")
        self.register("--host", other, "--browser", "chrome")
        chrome = os.path.join(self.home, USER_FOLDERS["chrome"], HOST_NAME + ".json")
        with open(chrome) as stream:
            before = stream.read()
        result = self.run_register("--uninstall", "--host", self.host, "--browser", "chromium", "--browser", "chrome")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("left as they are", result.stderr)
        self.assertIn("%s: it names the host of another installation, %s (this one's is %s;"
                      % (chrome, other, self.host), result.stderr)
        with open(chrome) as stream:
            self.assertEqual(stream.read(), before)
        self.assertFalse(os.path.exists(os.path.join(self.home, USER_FOLDERS["chromium"])))
        # Its own installation takes it away.
        self.register("--uninstall", "--host", other, "--browser", "chrome")
        self.assertFalse(os.path.exists(chrome))

    def test_uninstall_takes_the_host_beside_the_tool_by_default(self):
        # As the package's prerm runs it: in a root folder, without --host.
        staging = os.path.join(self.root, "staging")
        folder = os.path.join(staging, "usr", "libexec", "vantrel")
        self.make_host(os.path.join(folder, "vantrel"))
        shutil.copy(REGISTER, folder)
        tool = os.path.join(folder, "vantrel-register")
        other = os.path.join(staging, "opt", "other", "vantrel")
        self.make_host(other)
        os.chmod(staging, 0o755)
        run = lambda *arguments: subprocess.run(  # noqa: E731
            [sys.executable, tool, "--system", "--root", staging, *arguments], capture_output=True, text=True,
            timeout=60)
        self.assertEqual(run("--host", "/usr/libexec/vantrel/vantrel").returncode, 0)
        self.assertEqual(run("--host", "/opt/other/vantrel", "--browser", "firefox").returncode, 0)
        result = run("--uninstall")
        self.assertNotEqual(result.returncode, 0)
        firefox = os.path.join(staging, SYSTEM_FOLDERS["firefox"], HOST_NAME + ".json")
        self.assertIn("%s: it names the host of another installation, /opt/other/vantrel (this one's is "
                      "/usr/libexec/vantrel/vantrel;" % firefox, result.stderr)
        manifests = sorted(p for p in snapshot(staging) if p.endswith(".json"))
        self.assertEqual(manifests, [os.path.relpath(firefox, staging)])

    def test_default_extensions_are_the_sample_extension(self):
        with open(os.path.join(SOURCE, "extension", "manifest.json"), encoding="utf-8") as stream:
            extension = json.load(stream)
        digest = hashlib.sha256(base64.b64decode(extension["key"])).hexdigest()[:32]
        extension_id = "".join(chr(ord("a") + int(digit, 16)) for digit in digest)
        self.register("--host", self.host)
        chromium = self.read_manifest(os.path.join(self.home, USER_FOLDERS["chromium"]))
        self.assertEqual(chromium["allowed_origins"], ["chrome-extension://%s/" % extension_id])
        firefox = self.read_manifest(os.path.join(self.home, USER_FOLDERS["firefox"]))
        self.assertEqual(firefox["allowed_extensions"], [extension["browser_specific_settings"]["gecko"]["id"]])


class SystemRegistrationTest(unittest.TestCase):
    """--system registers a host for every user: it must be as safe as the
    system itself, or whoever can change it chooses what every user's browser
    runs. Checked in a staging root, which stands for /."""

    FINAL_HOST = "/usr/libexec/vantrel/vantrel"

    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory(prefix="vantrel-register-test-")
        self.root = os.path.join(self.scratch.name, "root")
        self.host = os.path.join(self.root, self.FINAL_HOST.lstrip("/"))
        os.makedirs(os.path.dirname(self.host), mode=0o755)
        os.chmod(self.root, 0o755)
        with open(self.host, "w") as stream:
            stream.write("#!/bin/sh\n")
        os.chmod(self.host, 0o755)
        # As the package has it: a link to the configuration in /etc.
        os.makedirs(os.path.join(self.root, "etc", "vantrel"), mode=0o755)
        self.cfg = os.path.join(self.root, "etc", "vantrel", "vantrel.cfg")
        with open(self.cfg, "w") as stream:
            stream.write("pkcs11Library=/usr/lib/x86_64-linux-gnu/p11-kit-proxy.so\n")
        os.chmod(self.cfg, 0o644)
        os.symlink("/etc/vantrel/vantrel.cfg", self.host + ".cfg")

    def tearDown(self):
        self.scratch.cleanup()

    def run_register(self):
        return subprocess.run(
            [sys.executable, REGISTER, "--system", "--root", self.root, "--host", self.FINAL_HOST],
            capture_output=True, text=True, timeout=60,
        )

    def staged(self, path):
        return os.path.join(self.root, path.lstrip("/"))

    def test_a_host_only_root_can_change_is_registered(self):
        result = self.run_register()
        self.assertEqual(result.returncode, 0, result.stderr)
        for folder in SYSTEM_FOLDERS.values():
            self.assertTrue(os.path.isfile(os.path.join(self.root, folder, HOST_NAME + ".json")), folder)

    def assert_refused(self, reason, path):
        before = snapshot(self.root)
        result = self.run_register()
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("refusing to register", result.stderr)
        self.assertIn(reason, result.stderr)
        self.assertIn(path, result.stderr)
        self.assertEqual(snapshot(self.root), before)

    def test_a_host_that_group_or_others_can_change_is_refused(self):
        cases = (
            ("the host file", "/usr/libexec/vantrel/vantrel", 0o775),
            ("the host's folder", "/usr/libexec/vantrel", 0o777),
            ("a folder far above it", "/usr", 0o757),
            ("the root folder", "/", 0o775),
            ("the configuration it reads, through the link", "/etc/vantrel/vantrel.cfg", 0o646),
            ("the folder the link leads to", "/etc/vantrel", 0o775),
        )
        for what, path, mode in cases:
            with self.subTest(what):
                staged = self.staged(path)
                previous = stat.S_IMODE(os.stat(staged).st_mode)
                os.chmod(staged, mode)
                try:
                    self.assert_refused("writable by group or others (mode %04o)" % mode, staged.rstrip("/"))
                finally:
                    os.chmod(staged, previous)

    def test_a_configuration_beside_the_host_is_checked_too(self):
        os.unlink(self.host + ".cfg")
        with open(self.host + ".cfg", "w") as stream:
            stream.write("pkcs11Library=/tmp/anyone.so\n")
        os.chmod(self.host + ".cfg", 0o666)
        self.assert_refused("writable by group or others", self.host + ".cfg")

    def name_module(self, module):
        with open(self.cfg, "w") as stream:
            stream.write("pkcs11Library=%s\n" % module)

    def make(self, path, folder_mode=0o755):
        """path below the root: a folder when it ends in /, else a file in
        folders made with folder_mode."""
        staged = self.staged(path)
        if path.endswith("/"):
            os.makedirs(staged)
            return staged.rstrip("/")
        os.makedirs(os.path.dirname(staged), exist_ok=True)
        for parent in (os.path.dirname(staged), os.path.dirname(os.path.dirname(staged))):
            os.chmod(parent, folder_mode)
        with open(staged, "w") as stream:
            stream.write("not really a module\n")
        os.chmod(staged, 0o644)
        return staged

    def test_manifest_folders_and_modules_that_group_or_others_can_change_are_refused(self):
        # (what, set-up giving the path that others can change, its mode, the reason's risk)
        folder_risk = "whoever can write there chooses the program every user's browser starts"
        module_risk = "whoever can change it runs code inside every user's host and reads their PINs"
        cases = (
            ("a manifest folder", lambda: self.make("/etc/chromium/native-messaging-hosts/"), 0o777, folder_risk),
            ("a folder above a manifest folder that is still to be made", lambda: self.make("/etc/opt/"), 0o777,
             folder_risk),
            ("the module the configuration names",
             lambda: self.name_module("/usr/lib/pkcs11/libtoken.so") or self.make("/usr/lib/pkcs11/libtoken.so"),
             0o666, module_risk),
            ("the module's folder",
             lambda: self.name_module("/usr/lib/pkcs11/libtoken.so")
             or os.path.dirname(self.make("/usr/lib/pkcs11/libtoken.so")), 0o777, module_risk),
            ("a module named by its bare name, where the loader finds it",
             lambda: self.name_module("libtoken.so") or self.make("/usr/lib/libtoken.so"), 0o646, module_risk),
            ("the module of a relative path, from the host's folder",
             lambda: self.name_module("modules/libtoken.so") or self.make("/usr/libexec/vantrel/modules/libtoken.so"),
             0o664, module_risk),
        )
        for what, make, mode, risk in cases:
            with self.subTest(what):
                self.tearDown()
                self.setUp()
                path = make()
                os.chmod(path, mode)
                self.assert_refused("%s is writable by group or others (mode %04o): %s" % (path, mode, risk), path)

    @unittest.skipUnless(os.geteuid() == 0, "only root can give a file to another user")
    def test_manifest_folders_and_modules_that_another_user_owns_are_refused(self):
        nobody = pwd.getpwnam("nobody").pw_uid
        cases = (
            ("a manifest folder", lambda: self.make("/usr/lib/mozilla/native-messaging-hosts/")),
            ("a folder above one", lambda: self.make("/etc/opt/")),
            ("the module", lambda: self.name_module("/usr/lib/pkcs11/libtoken.so")
             or self.make("/usr/lib/pkcs11/libtoken.so")),
            ("the module's folder", lambda: self.name_module("/usr/lib/pkcs11/libtoken.so")
             or os.path.dirname(self.make("/usr/lib/pkcs11/libtoken.so"))),
        )
        for what, make in cases:
            with self.subTest(what):
                self.tearDown()
                self.setUp()
                path = make()
                os.chown(path, nobody, nobody)
                self.assert_refused("%s is owned by user %d, not by root" % (path, nobody), path)

    @unittest.skipUnless(os.geteuid() == 0, "only root can give a file to another user")
    def test_a_host_that_another_user_owns_is_refused(self):
        for what, path in (("the host file", self.host), ("a folder above it", os.path.dirname(self.host)), ("the configuration", self.cfg)):
            with self.subTest(what):
                os.chown(path, 65534, 65534)
                try:
                    self.assert_refused("is owned by user 65534, not by root", path)
                finally:
                    os.chown(path, 0, 0)


if __name__ == "__main__":
    unittest.main()
